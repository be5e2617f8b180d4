// Printing: the probe page's printout, the way out to a PDF when printing fails, and the PDF
// the real printer service writes, read back with poppler's tools.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "pages/print_or_pdf.h"
#include "pages/probe/probe_printout.h"
#include "platform/platform.h"

using namespace corvel;
using namespace Qt::StringLiterals;

namespace {

const QString kBlock = QStringLiteral(
    "Pattern: 2\t+1.00\t+.00\t\r\n---------------\r\n"
    "Response (A):\t+.25\t+.75\t\r\nDesired  (D):\t+.00\t+1.00\t\r\n"
    "Error  (D-A):\t-.25\t+.25\t\r\n=============================================\r\n");

QStringList Texts(const PrintDocument& document) {
  QStringList texts;
  for (const PrintDocument::Item& item : document.items()) texts.append(item.text);
  return texts;
}

// What a poppler tool prints; empty when it fails.
QString Poppler(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class PrintingTest final : public QObject {
  Q_OBJECT
 private slots:
  void probePrintoutHeadsTheResults();
  void failedPrintingOffersPdf_data();
  void failedPrintingOffersPdf();
  void pdfPagesHoldTheWholeTextInColumns();
  void failedPdfLeavesFilesAsTheyWere();

 private:
  QtPrinterService printer_;
  QTemporaryDir dir_;
};

void PrintingTest::probePrintoutHeadsTheResults() {
  const PrintDocument document = ProbePrintout(u"xor.net"_s, u"a\tb\r\n\r\nc\r\n"_s);
  const PrintFont before, heading{u"Courier"_s, 10, true}, results{u"Courier"_s, 10, false};
  const QList<std::pair<QString, PrintFont>> expected = {
      {u""_s, before},  {u"Results Of Testing Distributed Memory On xor.net"_s, heading},
      {u""_s, results}, {u"a\tb"_s, results},
      {u""_s, results}, {u"c"_s, results}};
  QCOMPARE(document.items().size(), expected.size());
  for (int i = 0; i < expected.size(); ++i) {
    const PrintDocument::Item& item = document.items()[i];
    QCOMPARE(item.text, expected[i].first);
    QVERIFY2(item.font == expected[i].second, qPrintable(item.text));
  }
}

void PrintingTest::failedPrintingOffersPdf_data() {
  QTest::addColumn<QString>("printFailure");  // empty: printing works
  QTest::addColumn<bool>("yes");
  QTest::addColumn<QString>("path");  // empty: the file dialog is cancelled
  QTest::addColumn<QString>("pdfFailure");
  const QString noPrinter = u"no printer is set up on this computer"_s;
  const QString path = u"/tmp/out/probe.pdf"_s;
  QTest::newRow("printed") << QString() << true << path << QString();
  QTest::newRow("answered No") << noPrinter << false << path << QString();
  QTest::newRow("dialog cancelled") << noPrinter << true << QString() << QString();
  QTest::newRow("saved") << noPrinter << true << path << QString();
  QTest::newRow("PDF not written") << noPrinter << true << path << u"Disk full"_s;
}

void PrintingTest::failedPrintingOffersPdf() {
  QFETCH(QString, printFailure);
  QFETCH(bool, yes);
  QFETCH(QString, path);
  QFETCH(QString, pdfFailure);
  ScriptedPlatform platform;
  if (!printFailure.isEmpty()) platform.printouts().QueuePrintFailure(printFailure);
  if (!pdfFailure.isEmpty()) platform.printouts().QueuePdfFailure(pdfFailure);
  platform.messages().QueueAnswer(yes);
  platform.files().QueueAnswer(path.isEmpty() ? std::nullopt : std::optional(path));
  const PrintDocument document = ProbePrintout(u"xor.net"_s, kBlock);

  PrintOrOfferPdf(nullptr, platform, document);

  QCOMPARE(platform.printouts().printed().size(), 1);
  const auto& messages = platform.messages().calls();
  const bool failed = !printFailure.isEmpty(), asked = failed && yes;
  const bool saved = asked && !path.isEmpty(), warned = saved && !pdfFailure.isEmpty();
  QCOMPARE(messages.size(), int(failed) + int(warned));
  if (failed) {
    QVERIFY(messages[0].question && messages[0].yesIsDefault);
    QCOMPARE(messages[0].title, u"Printing"_s);
    QVERIFY(messages[0].text.contains(printFailure));
  }
  QCOMPARE(platform.files().calls().size(), int(asked));
  if (asked)
    QVERIFY(platform.files().calls()[0].suggestedPath.endsWith(
        u"/Results-Of-Testing-Distributed-Memory-On-xor.net.pdf"_s));
  QCOMPARE(platform.printouts().pdfs().size(), int(saved));
  if (saved) {
    QCOMPARE(platform.printouts().pdfs()[0].path, path);
    QCOMPARE(Texts(platform.printouts().pdfs()[0].document), Texts(document));
  }
  if (warned) {
    QCOMPARE(messages[1].icon, MessageIcon::Warning);
    QVERIFY(messages[1].text.contains(path) && messages[1].text.contains(pdfFailure));
  }
}

void PrintingTest::pdfPagesHoldTheWholeTextInColumns() {
  if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
    QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
  QString wide;
  for (int i = 0; i < 80; ++i) wide += u"w%1 "_s.arg(i);
  const QString pdf = dir_.filePath(u"probe.pdf"_s);
  QCOMPARE(
      printer_.SavePdf(ProbePrintout(u"xor.net"_s, kBlock.repeated(40) + wide + u"\r\n"_s), pdf),
      std::nullopt);
  const QString pages = Poppler(u"pdfinfo"_s, {pdf});
  static const QRegularExpression pageCount(u"Pages:\\s+(\\d+)"_s);
  QVERIFY2(pageCount.match(pages).captured(1).toInt() > 1, qPrintable(pages));
  // Text as laid out on the page: Courier 10 is 6 points a character, so a fixed pitch of 6
  // puts every character in its own column.
  const QString text = Poppler(u"pdftotext"_s, {u"-layout"_s, u"-fixed"_s, u"6"_s, pdf, u"-"_s});
  QVERIFY(text.contains(u"Results Of Testing Distributed Memory On xor.net"_s));
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
  for (const QList<qsizetype>& row : columns) {
    QCOMPARE(row.size(), 2);
    QCOMPARE(row, columns[0]);
  }
  // The line too wide for the page runs on below without losing a word.
  QVERIFY(text.simplified().contains(wide.simplified()));
  QVERIFY(!text.contains(wide.simplified()));
}

void PrintingTest::failedPdfLeavesFilesAsTheyWere() {
  const auto read = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  QDir dir(dir_.path());
  QVERIFY(dir.mkpath(u"failing/folder.pdf"_s) && dir.cd(u"failing"_s));
  const PrintDocument document = ProbePrintout(u"xor.net"_s, kBlock);
  const QString earlier = dir.filePath(u"results.pdf"_s);
  QCOMPARE(printer_.SavePdf(document, earlier), std::nullopt);
  const QByteArray before = read(earlier);
  QVERIFY(before.startsWith("%PDF-"));
  // A folder that is a regular file; a name taken by a folder.
  for (const QString& name : {u"results.pdf/probe.pdf"_s, u"folder.pdf"_s}) {
    const std::optional<QString> reason = printer_.SavePdf(document, dir.filePath(name));
    QVERIFY2(reason && !reason->isEmpty(), qPrintable(name));
  }
  QCOMPARE(read(earlier), before);
  QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
           QStringList({u"folder.pdf"_s, u"results.pdf"_s}));
}

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
