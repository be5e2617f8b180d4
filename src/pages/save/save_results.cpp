#include "pages/save/save_results.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <system_error>

#include "pages/frame/designs.h"
#include "pages/page_controls.h"
#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "platform/announcer.h"
#include "platform/display_box.h"
#include "platform/file_lists.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "report/report_time.h"
#include "state/public_stuff.h"

namespace corvel {
namespace {

const QString kReady =
    QStringLiteral("Choose or name a file, tick the sections you want, then press Save The File.");

std::string FileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

// A typed name gets ".txt" unless it ends in exactly that (letter case counts): run1 and
// run1.txt both give run1.txt, run1.TXT gives run1.TXT.txt.
QString WithTxtExtension(const QString& name) {
  return name.endsWith(QStringLiteral(".txt"), Qt::CaseSensitive) ? name
                                                                  : name + QStringLiteral(".txt");
}

// When the report is dated: now, or the instant SOURCE_DATE_EPOCH names, as corvel-duvu-batch
// dates its reports. Nothing when the variable holds anything but such an instant.
std::optional<LocalDateTime> ReportDate() {
  if (!qEnvironmentVariableIsSet("SOURCE_DATE_EPOCH")) return LocalDateTimeAt(std::time(nullptr));
  const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
  if (const auto instant = ParseSourceDateEpoch(epoch.constData()))
    return LocalDateTimeAt(*instant);
  return std::nullopt;
}

}  // namespace

SaveResults::SaveResults(PageRegistry& registry)
    : Page(registry, PageId::SaveResults,
           QStringLiteral("Save Results To A Text File -- Talvik Neural Network Code")),
      frame_(this, kSaveResultsDesign),
      announcer_(new Announcer(this)) {
  Label1 = MakeLabel(this, QStringLiteral("Label1"),
                     QStringLiteral("Talvik Distributed Associative Memory Program 2003 Edition"),
                     Arial(20.25, true, true));
  Label1->setAlignment(Qt::AlignCenter);
  PlaceTwips(Label1, 120, 60, 10275, 1035);

  const QFont heading = Arial(12, true);
  Label2 = MakeLabel(this, QStringLiteral("Label2"),
                     QStringLiteral("Choose The Name Of The File To Be Saved"), heading);
  PlaceTwips(Label2, 240, 1200, 4920, 375);
  const QFont listFont = PageFont(QStringLiteral("MS Sans Serif"), 8.25);
  Drive1 = Named(new DriveList(this), QStringLiteral("Drive1"), listFont);
  Drive1->setAccessibleName(QStringLiteral("Drive"));
  Drive1->setAccessibleDescription(QStringLiteral("Drive"));
  PlaceTwips(Drive1, 240, 1680, 4920, 375);
  Dir1 = Named(new DirList(this), QStringLiteral("Dir1"), listFont);
  Dir1->setAccessibleName(QStringLiteral("Directory"));
  PlaceTwips(Dir1, 240, 2160, 2400, 3240);
  File1 = Named(new FileList(QStringLiteral("*.txt"), QStringLiteral("text file"), this),
                QStringLiteral("File1"), listFont);
  File1->setAccessibleName(QStringLiteral("Files"));
  PlaceTwips(File1, 2760, 2160, 2400, 3240);

  const QFont buttons = Arial(9.75, true);
  DirButton = MakeButton(this, QStringLiteral("DirButton"),
                         QStringLiteral("Create A New Directory"), buttons);
  PlaceTwips(DirButton, 240, 5520, 2400, 495);
  FileButton = MakeButton(this, QStringLiteral("FileButton"),
                          QStringLiteral("Create A New Filename"), buttons);
  PlaceTwips(FileButton, 2760, 5520, 2400, 495);
  FileLabel = MakeLabel(this, QStringLiteral("FileLabel"),
                        QStringLiteral("Name Of File To Be Saved:"), Arial(9.75, true));
  PlaceTwips(FileLabel, 240, 6240, 4920, 330);
  FileNameLabel = Named(new DisplayBox(QStringLiteral("Name Of File To Be Saved"), this),
                        QStringLiteral("FileNameLabel"), Arial(9.75));
  PlaceTwips(FileNameLabel, 240, 6600, 4920, 375);

  PropertyLabel = MakeLabel(this, QStringLiteral("PropertyLabel"),
                            QStringLiteral("Choose The Properties To Save In The File"), heading);
  PlaceTwips(PropertyLabel, 5520, 1200, 4875, 375);
  const QString captions[kReportSectionCount] = {
      QStringLiteral("Input Patterns"),
      QStringLiteral("General Information (Training info etc.)"),
      QStringLiteral("Network Responses"),
      QStringLiteral("Network Errors"),
      QStringLiteral("Connection Weights"),
      QStringLiteral("Output Patterns"),
      QStringLiteral("Network SSE As A Function Of Sweeps")};
  for (int i = 0; i < kReportSectionCount; ++i) {
    Check1[i] = MakeCheckBox(this, QStringLiteral("Check1(%1)").arg(i), captions[i], Arial(10.5),
                             kDefaultReportSections[i]);
    PlaceTwips(Check1[i], 5760, 1680 + 480 * i, 4635, 375);
  }
  SaveFile = MakeButton(this, QStringLiteral("SaveFile"), QStringLiteral("Save The File"),
                        Arial(12, true));
  PlaceTwips(SaveFile, 5520, 6480, 2400, 615);
  Command2 =
      MakeButton(this, QStringLiteral("Command2"), QStringLiteral("Close"), Arial(12, true, true));
  PlaceTwips(Command2, 8040, 6480, 2355, 615);

  Label3 = MakeLabel(this, QStringLiteral("Label3"), QString(), Arial(8.25, false, true));
  Label3->setAlignment(Qt::AlignCenter);
  PlaceTwips(Label3, 120, 8400, 10275, 375);
  SetNotice(kReady);

  QWidget::setTabOrder(Drive1, Dir1);
  QWidget::setTabOrder(Dir1, File1);
  QWidget::setTabOrder(File1, DirButton);
  QWidget::setTabOrder(DirButton, FileButton);
  QWidget::setTabOrder(FileButton, Check1[0]);
  for (int i = 1; i < kReportSectionCount; ++i) QWidget::setTabOrder(Check1[i - 1], Check1[i]);
  QWidget::setTabOrder(Check1[kReportSectionCount - 1], SaveFile);
  QWidget::setTabOrder(SaveFile, Command2);

  connect(Drive1, &DriveList::driveChanged, this, &SaveResults::Drive1_Change);
  connect(Dir1, &DirList::pathChanged, this, &SaveResults::Dir1_Change);
  connect(File1, &FileList::fileClicked, this, &SaveResults::File1_Click);
  connect(DirButton, &QPushButton::clicked, this, &SaveResults::DirButton_Click);
  connect(FileButton, &QPushButton::clicked, this, &SaveResults::FileButton_Click);
  connect(SaveFile, &QPushButton::clicked, this, &SaveResults::SaveFile_Click);
  connect(Command2, &QPushButton::clicked, this, &SaveResults::Command2_Click);
  const auto readFault = [this](const QString& message) {
    ShowFault(message, QStringLiteral("Cannot Read"));
  };
  connect(Drive1, &DriveList::readFailed, this, readFault);
  connect(Dir1, &DirList::readFailed, this, readFault);
}

void SaveResults::Form_Load() {
  // The lists start at the program's working directory, or at a folder that can be read
  // when it cannot (it may have been deleted since).
  const StartFolder start = FindStartFolder();
  Drive1->SelectDriveOf(start.path);
  Dir1->setPath(start.path);
  ShowTarget();  // a file chosen on an earlier visit is still the one "Save The File" writes
  frame_.StartUp();
  if (!start.fault.isEmpty()) ShowFault(start.fault, QStringLiteral("Cannot Read"));
}

void SaveResults::Drive1_Change() { Dir1->SetDrive(Drive1->drive()); }

void SaveResults::Dir1_Change() {
  File1->setPath(Dir1->path());
  if (isVisible()) announcer_->Say(File1->FolderSummary());
}

void SaveResults::File1_Click() { ChooseFile(File1->fileName()); }

void SaveResults::FileButton_Click() {
  const QString answer =
      Ask(QStringLiteral("Enter name of file to save:"), QStringLiteral("Name File"));
  // Cancelled, empty or only blanks: no file is chosen, and the label keeps what it showed.
  if (answer.trimmed().isEmpty()) {
    State().ResultsFileName.clear();
    ShowTarget();
    return;
  }
  // The typed name is the file now, not one picked in the list before. A picked file would
  // also be picked again when the list is refilled with the new file, which screen readers
  // take for the focus moving into the list.
  File1->clearSelection();
  ChooseFile(WithTxtExtension(answer));
}

void SaveResults::DirButton_Click() {
  const QString answer =
      Ask(QStringLiteral("Enter name of directory:"), QStringLiteral("Create Directory"));
  if (answer.trimmed().isEmpty()) return;
  const QString path = QDir::cleanPath(QDir(File1->path()).filePath(answer));
  std::error_code error;
  if (!std::filesystem::create_directory(FileSystemName(path), error)) {
    ShowFault(error ? QStringLiteral("The directory %1 could not be created: %2.")
                          .arg(Shown(path), QString::fromLocal8Bit(error.message()))
                    : QStringLiteral("The directory %1 already exists.").arg(Shown(path)),
              QStringLiteral("Create Directory"));
    return;
  }
  // The new directory becomes the working one, and the lists show it, empty.
  QDir::setCurrent(path);
  Drive1->SelectDriveOf(path);
  Dir1->setPath(path);
}

void SaveResults::SaveFile_Click() {
  const QString path = QFile::decodeName(State().ResultsFileName.c_str());
  if (path.isEmpty()) return;  // no file chosen yet: nothing to do
  // Only a file counts as existing: a directory of that name fails when written.
  if (QFileInfo(path).isFile() && !platform().messageBox().AskYesNo(
                                      this, QStringLiteral("File already exists -- overwrite it?"),
                                      QStringLiteral("Pre-existing Filename"), false)) {
    SetNotice(QStringLiteral("Nothing was saved: %1 was kept as it was.").arg(Shown(path)));
    return;
  }
  WriteReport(path);
}

void SaveResults::Command2_Click() { registry().Close(PageId::SaveResults); }

ReportSections SaveResults::ChosenSections() const {
  ReportSections sections{};
  for (int i = 0; i < kReportSectionCount; ++i) sections[i] = Check1[i]->isChecked();
  return sections;
}

void SaveResults::ChooseFile(const QString& name) {
  FileNameLabel->Clear();
  FileNameLabel->WriteLine(name);
  // The name shows away from the list or the button the student is on.
  announcer_->Say(FileLabel->text() + QLatin1Char(' ') + name);
  State().ResultsFileName = FileSystemName(QDir(File1->path()).filePath(name));
  ShowTarget();
}

void SaveResults::ShowTarget() {
  const std::string& target = State().ResultsFileName;
  // The full path: the report goes to the folder the name was chosen in, wherever the lists
  // have moved since.
  SetNotice(target.empty() ? kReady
                           : QStringLiteral("The report will be saved as %1.")
                                 .arg(Shown(QFile::decodeName(target.c_str()))));
}

void SaveResults::SetNotice(const QString& text) {
  // A path too long for the line keeps its ends; the whole text is in the tooltip and is what
  // a screen reader reads.
  Label3->setText(Label3->fontMetrics().elidedText(text, Qt::ElideMiddle, Label3->width()));
  Label3->setToolTip(text == Label3->text() ? QString() : text);
  Label3->setAccessibleName(text);
}

void SaveResults::WriteReport(const QString& path) {
  PublicStuff& state = State();
  const QString title = QStringLiteral("Report Not Saved");
  // Whatever the outcome, the notice no longer tells of an earlier save.
  SetNotice(QStringLiteral("The report could not be saved as %1.").arg(Shown(path)));
  if (!state.NetworkFitsTrainingSet()) {
    ShowFault(QStringLiteral("The memory has not been set up for the training file %1 yet. Go "
                             "on to the set-up page and train it, then save the report.")
                  .arg(QString::fromStdString(state.TrainingFileName)),
              title);
    return;
  }
  const std::optional<LocalDateTime> when = ReportDate();
  if (!when) {
    ShowFault(QStringLiteral("SOURCE_DATE_EPOCH \"%1\" is not a whole number of seconds since "
                             "1970, so the report cannot be dated. Correct or unset it, then "
                             "save again.")
                  .arg(qEnvironmentVariable("SOURCE_DATE_EPOCH")),
              title);
    return;
  }
  if (const auto error = WriteResultsReport(state, FileSystemName(path), ChosenSections(), *when,
                                            regionalSettings())) {
    ShowFault(QStringLiteral("The report could not be saved as %1: %2.")
                  .arg(Shown(path), QString::fromLocal8Bit(error->Reason)),
              title);
    return;
  }
  SetNotice(QStringLiteral("The report was saved as %1.").arg(Shown(path)));
  announcer_->Say(Label3->accessibleName());
}

QString SaveResults::Ask(const QString& prompt, const QString& title) {
  return platform().inputBox().Ask(this, prompt, title, QString()).value_or(QString());
}

void SaveResults::ShowFault(const QString& text, const QString& title) {
  platform().messageBox().Show(this, text, title, MessageIcon::Warning);
}

Page* CreateSaveResults(PageRegistry& registry) { return new SaveResults(registry); }

}  // namespace corvel
