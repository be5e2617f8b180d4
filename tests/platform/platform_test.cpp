// The platform stand-ins: twips placement, the up-down bound to a box and what screen readers
// find of boxes and sliders, the system clipboard, the drive, directory and file lists, and
// printing: the way out to a PDF when printing fails, and the PDF the real printer service
// writes, read back with poppler's tools.
#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include <sys/resource.h>

#include "pages/print_or_pdf.h"
#include "pages/probe/probe_printout.h"
#include "platform/accessibility.h"
#include "platform/clipboard.h"
#include "platform/file_lists.h"
#include "platform/platform.h"
#include "platform/scaled_slider.h"
#include "platform/twips.h"
#include "platform/up_down.h"

using namespace corvel;
using namespace Qt::StringLiterals;

namespace {

void Touch(const QString& path) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
}

const QString kBlock = QStringLiteral(
    "Pattern: 2\t+1.00\t+.00\t\r\n---------------\r\n"
    "Response (A):\t+.25\t+.75\t\r\nDesired  (D):\t+.00\t+1.00\t\r\n"
    "Error  (D-A):\t-.25\t+.25\t\r\n=============================================\r\n");

// What a poppler tool prints; empty when it fails.
QString Poppler(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class PlatformTest final : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { InstallAccessibility(); }
  void twipsPlacementKeepsExactTwips();
  void upDownStepsTheBoxNumber();
  void screenReadersGetWholeNumbers();
  void systemClipboardHoldsThePicture();
  void fileListShowsMatchingFilesOnly();
  void dirListReportsChangesAndRefusals();
  void startFolderNamesADeletedWorkingDirectory();
  void failedPrintingOffersPdf();
  void pdfPagesHoldTheWholeTextInColumns();
  void failedPdfLeavesFilesAsTheyWere();

 private:
  QtPrinterService printer_;
  QTemporaryDir dir_;
};

void PlatformTest::twipsPlacementKeepsExactTwips() {
  QWidget page;
  QWidget child(&page);
  PlaceTwips(&child, 1000, 2000, 1500, 457);
  QCOMPARE(child.geometry(), QRect(67, 133, 100, 30));  // to the nearest pixel
  QCOMPARE(TwipsGeometry(&child), QRectF(1000, 2000, 1500, 457));
  // Moved by pixel means, the pixels are the truth.
  child.move(10, 20);
  QCOMPARE(TwipsGeometry(&child).topLeft(), QPointF(150, 300));
}

void PlatformTest::upDownStepsTheBoxNumber() {
  // Typed text, what a screen reader reads before the step, steps, the box after.
  const struct {
    QString typed;
    double shown;
    int steps;
    QString after;
  } cases[] = {{u" 7 "_s, 7, -2, u"5"_s},
               {u"9.6"_s, 9.6, 1, u"11"_s},
               {u"90000"_s, 90000, -1, u"499"_s},
               {u"abc"_s, 20, 1, u"21"_s}};
  for (const auto& c : cases) {
    QLineEdit box;
    UpDown upDown;
    upDown.setBuddy(&box);
    upDown.setRange(1, 500);
    upDown.setValue(20);
    box.setText(c.typed);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    QCOMPARE(accessible->valueInterface()->currentValue(), QVariant(c.shown));
    upDown.StepBy(c.steps);
    QCOMPARE(box.text(), c.after);
  }

  // Bound as the set-up page binds them. The Orca walk steps the set-up page's box with the
  // arrow keys and the tour reads it as a spin button; a disabled up-down leaves the keys alone.
  QLineEdit box(u"500"_s);
  UpDown upDown;
  upDown.setBuddy(&box);
  upDown.setRange(1, 50000);
  upDown.setEnabled(false);
  QTest::keyClick(&box, Qt::Key_Down);
  QCOMPARE(box.text(), u"500"_s);
  // A screen reader can read the box's bounds and set its value.
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
  QCOMPARE(accessible->valueInterface()->maximumValue().toInt(), 50000);
  accessible->valueInterface()->setCurrentValue(7);
  QCOMPARE(box.text(), u"7"_s);
}

void PlatformTest::screenReadersGetWholeNumbers() {
  // One run of text attributes covers the whole text (Orca reads up to the end of the last).
  QLineEdit rate(u"0.10"_s);
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&rate);
  QVERIFY(!box->valueInterface());  // a plain box, not a spin button
  int start = -1, end = -1;
  box->textInterface()->attributes(2, &start, &end);
  QCOMPARE(std::pair(start, end), std::pair(0, 4));

  // A slider's value is the number it stands for, with the slider's decimals.
  ScaledSlider slider(2);
  slider.setRange(0, 200);
  slider.setValue(10);
  QAccessibleInterface* scaled = QAccessible::queryAccessibleInterface(&slider);
  QCOMPARE(scaled->text(QAccessible::Value), u"0.10"_s);
  QCOMPARE(scaled->valueInterface()->minimumStepSize().toDouble(), 0.01);
  scaled->valueInterface()->setCurrentValue(1.5);
  QCOMPARE(slider.value(), 150);
}

void PlatformTest::systemClipboardHoldsThePicture() {
  QImage picture(4, 3, QImage::Format_RGB32);
  picture.fill(QColor(10, 20, 30));
  QtClipboardService clipboard;
  clipboard.SetPicture(picture);
  QCOMPARE(clipboard.Picture().convertToFormat(QImage::Format_RGB32), picture);
}

void PlatformTest::fileListShowsMatchingFilesOnly() {
  QTemporaryDir dir;
  for (const char* name : {"a.net", "B.NET", "c.txt", "net", "d.net.bak"})
    Touch(dir.filePath(QString::fromLatin1(name)));
  QDir(dir.path()).mkdir(u"sub.net"_s);
  FileList files(u"*.net"_s, u"training file"_s);
  QSignalSpy loaded(&files, &FileList::loaded);
  files.setPath(dir.path());
  QTRY_VERIFY(loaded.count() > 0);
  QStringList names = files.fileNames();
  names.sort(Qt::CaseInsensitive);
  QCOMPARE(names, QStringList({u"a.net"_s, u"B.NET"_s}));
  // What a screen reader hears of the folder and of the list, also when it holds nothing.
  QCOMPARE(files.FolderSummary(), QDir(dir.path()).dirName() + u": 2 training files."_s);
  QCOMPARE(files.accessibleDescription(), u"2 training files"_s);
  files.setPath(dir.filePath(u"sub.net"_s));
  QCOMPARE(files.FolderSummary(), u"sub.net: no training files."_s);
  QCOMPARE(files.accessibleDescription(), u"no training files"_s);
}

void PlatformTest::dirListReportsChangesAndRefusals() {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(u"one/two"_s);
  DirList dirs;
  QSignalSpy changed(&dirs, &DirList::pathChanged);
  QSignalSpy failed(&dirs, &DirList::readFailed);
  QVERIFY(dirs.setPath(dir.path()));
  QVERIFY(dirs.setPath(dir.filePath(u"one/two/.."_s)));
  QCOMPARE(dirs.path(), dir.filePath(u"one"_s));
  QVERIFY(dirs.setPath(dirs.path()));  // the same path again is no change
  QCOMPARE(changed.count(), 2);
  // Moving the highlight with the arrow keys opens the folder under it, without expanding it.
  const QModelIndex one = static_cast<QFileSystemModel*>(dirs.model())->index(dirs.path());
  QTRY_COMPARE(dirs.model()->rowCount(one), 1);
  dirs.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dirs));
  QTest::keyClick(&dirs, Qt::Key_Down);
  QCOMPARE(dirs.path(), dir.filePath(u"one/two"_s));
  QVERIFY(changed.count() == 3 && !dirs.isExpanded(dirs.currentIndex()));

  Touch(dir.filePath(u"plain"_s));
  QVERIFY(!dirs.setPath(dir.filePath(u"plain"_s)));
  QCOMPARE(failed.count(), 1);
  QVERIFY(failed.at(0).at(0).toString().contains(u"not a directory"_s));

  // A drive opens at the working directory first, then where this list last was on it. The
  // drive list holds the working drive (the root in a chroot, which reports no volume).
  QDir::setCurrent(dir.filePath(u"one/two"_s));
  const DriveList drives;
  const QString root = drives.drive();
  QVERIFY(QDir::currentPath().startsWith(root) && drives.drives().contains(root));
  DirList fresh;
  QVERIFY(fresh.SetDrive(root));
  QCOMPARE(fresh.path(), dir.filePath(u"one/two"_s));
  QVERIFY(fresh.setPath(dir.path()));
  QVERIFY(fresh.SetDrive(root));
  QCOMPARE(fresh.path(), QDir::cleanPath(dir.path()));
  QDir::setCurrent(QDir::tempPath());
}

void PlatformTest::startFolderNamesADeletedWorkingDirectory() {
  QTemporaryDir dir;
  const QString gone = dir.filePath(u"gone"_s);
  QVERIFY(QDir(dir.path()).mkdir(u"gone"_s) && QDir::setCurrent(gone));
  QVERIFY(QDir(dir.path()).rmdir(u"gone"_s));
  const StartFolder start = FindStartFolder();
  QDir::setCurrent(QDir::tempPath());
  QCOMPARE(start.path, QDir::homePath());
  QCOMPARE(start.fault,
           u"The directory %1 cannot be read: it does not exist. Opening %2 instead."_s.arg(
               gone, start.path));
}

// Printing fails four times: answered No, the file dialog cancelled, a PDF that cannot be
// written, which gets a warning naming the file and the reason, and a PDF saved, whose full
// path is told. The dialog starts in the folder given (the training files').
void PlatformTest::failedPrintingOffersPdf() {
  ScriptedPlatform platform;
  const PrintDocument document = ProbePrintout(u"xor.net"_s, kBlock);
  const QString path = u"/tmp/out/probe.pdf"_s;
  for (int i = 0; i < 4; ++i) platform.printouts().QueuePrintFailure(u"no printer"_s);
  platform.printouts().QueuePdfFailure(u"Disk full"_s);
  platform.files().QueueAnswer(std::nullopt);
  platform.files().QueueAnswer(path);
  platform.files().QueueAnswer(path);
  for (const bool yes : {false, true, true, true}) {
    platform.messages().QueueAnswer(yes);
    PrintOrOfferPdf(nullptr, platform, document, u"/home/student/examples"_s);
  }

  QCOMPARE(platform.files().calls().size(), 3);
  QCOMPARE(platform.files().calls()[0].suggestedPath,
           u"/home/student/examples/Results-Of-Testing-Distributed-Memory-On-xor.net.pdf"_s);
  QCOMPARE(platform.printouts().pdfs().size(), 2);
  QCOMPARE(platform.printouts().pdfs()[1].path, path);
  const auto& messages = platform.messages().calls();
  QCOMPARE(messages.size(), 6);
  QVERIFY(messages[0].question && messages[0].yesIsDefault);
  QVERIFY(messages[0].text.contains(u"no printer"_s));
  QCOMPARE(messages[3].icon, MessageIcon::Warning);
  QVERIFY(messages[3].text.contains(path) && messages[3].text.contains(u"Disk full"_s));
  QCOMPARE(messages[5].text, u"The pages were saved as %1."_s.arg(path));
}

void PlatformTest::pdfPagesHoldTheWholeTextInColumns() {
  if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
    QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
  QString wide;
  for (int i = 0; i < 80; ++i) wide += u"w%1 "_s.arg(i);
  const PrintDocument document = ProbePrintout(u"xor.net"_s, kBlock.repeated(40) + wide);
  // A bold heading, then the results in Courier 10.
  QVERIFY(document.items()[1].font == (PrintFont{u"Courier"_s, 10, true}));
  QVERIFY(document.items()[2].font == (PrintFont{u"Courier"_s, 10, false}));
  const QString pdf = dir_.filePath(u"probe.pdf"_s);
  QCOMPARE(printer_.SavePdf(document, pdf), std::nullopt);
  const QString pages = Poppler(u"pdfinfo"_s, {pdf});
  static const QRegularExpression pageCount(u"Pages:\\s+(\\d+)"_s);
  QVERIFY2(pageCount.match(pages).captured(1).toInt() > 1, qPrintable(pages));
  // Text as laid out on the page: Courier 10 is 6 points a character, so a fixed pitch of 6
  // puts every character in its own column.
  const QString text = Poppler(u"pdftotext"_s, {u"-layout"_s, u"-fixed"_s, u"6"_s, pdf, u"-"_s});
  // Every row of every block has its numbers in the same columns, whatever its label's width
  // (counted from the row's left edge, as pdftotext indents each page by its own amount).
  static const QRegularExpression number(u"[-+]\\d*\\.\\d+"_s);
  QList<QList<qsizetype>> columns;
  for (const QString& row : text.split(QLatin1Char('\n'))) {
    if (!row.contains(QLatin1Char(':'))) continue;
    columns.append(QList<qsizetype>());
    for (const QRegularExpressionMatch& match : number.globalMatch(row.trimmed()))
      columns.last().append(match.capturedStart());
  }
  QCOMPARE(columns.size(), 4 * 40);
  for (const QList<qsizetype>& row : columns) QCOMPARE(row, columns[0]);
  QCOMPARE(columns[0].size(), 2);
  // The line too wide for the page runs on below without losing a word.
  QVERIFY(text.simplified().contains(wide.simplified()));
  QVERIFY(!text.contains(wide.simplified()));
}

// A PDF that cannot be written (the name is taken by a folder; a file size limit reached
// over an earlier PDF) returns the reason and leaves no temporary file behind; the folder and
// the earlier PDF stay as they were.
void PlatformTest::failedPdfLeavesFilesAsTheyWere() {
  QDir dir(dir_.path());
  QVERIFY(dir.mkpath(u"failing/folder.pdf"_s) && dir.cd(u"failing"_s));
  QFile earlier(dir.filePath(u"kept.pdf"_s));
  QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("kept") == 4);
  earlier.close();
  const PrintDocument document = ProbePrintout(u"xor.net"_s, kBlock);
  const std::optional<QString> reason = printer_.SavePdf(document, dir.filePath(u"folder.pdf"_s));
  QVERIFY(reason && reason->contains(u"directory"_s));
  std::signal(SIGXFSZ, SIG_IGN);  // past the limit a write fails instead of ending the process
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit limited = old;
  limited.rlim_cur = 2;
  setrlimit(RLIMIT_FSIZE, &limited);
  const std::optional<QString> tooLarge = printer_.SavePdf(document, earlier.fileName());
  setrlimit(RLIMIT_FSIZE, &old);
  QVERIFY2(tooLarge && tooLarge->contains(u"File too large"_s),
           qPrintable(tooLarge.value_or(u""_s)));
  QVERIFY(earlier.open(QIODevice::ReadOnly) && earlier.readAll() == "kept");
  QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
           QStringList({u"folder.pdf"_s, u"kept.pdf"_s}));
}

QTEST_MAIN(PlatformTest)
#include "platform_test.moc"
