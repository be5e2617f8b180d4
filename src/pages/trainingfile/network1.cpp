#include "pages/trainingfile/network1.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "pages/frame/designs.h"
#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "platform/announcer.h"
#include "platform/file_lists.h"
#include "platform/platform.h"
#include "state/public_stuff.h"
#include "trainingset/loader.h"

using namespace Qt::StringLiterals;

namespace corvel {
namespace {

// "Training file x.net loaded: 3 output units, 4 input units, 2 patterns. <button> is now
// available."
QString LoadedNotice(const QString& name, const PublicStuff& state, const QString& nextButton) {
  const auto count = [](int n, const char* what) {
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(what), n == 1 ? u""_s : u"s"_s);
  };
  return QStringLiteral("Training file %1 loaded: %2, %3, %4. %5 is now available.")
      .arg(name, count(state.NumOutputUnits, "output unit"),
           count(state.NumInputUnits, "input unit"), count(state.NumPatterns, "pattern"),
           nextButton);
}

}  // namespace

Network1::Network1(PageRegistry& registry)
    : Page(registry, PageId::Network1,
           QStringLiteral("Talvik Neural Net Code -- Introductory Form")),
      frame_(this, kNetwork1Design),
      c_(BuildControls(this)),
      announcer_(new Announcer(this)) {
  connect(c_.Drive1, &DriveList::driveChanged, this, &Network1::Drive1_Change);
  connect(c_.Dir1, &DirList::pathChanged, this, &Network1::Dir1_Change);
  connect(c_.File1, &FileList::fileDoubleClicked, this, &Network1::File1_DblClick);
  connect(c_.NextPage, &QPushButton::clicked, this, &Network1::NextPage_Click);
  connect(c_.Command2, &QPushButton::clicked, this, &Network1::Command2_Click);
  connect(c_.Drive1, &DriveList::readFailed, this, &Network1::ShowReadFault);
  connect(c_.Dir1, &DirList::readFailed, this, &Network1::ShowReadFault);
}

void Network1::Form_Load() {
  // The information block and the way on stay hidden until a file is loaded.
  for (QLabel* label : c_.Label8) label->hide();
  for (QLineEdit* box : c_.OutputText) box->hide();
  c_.NextPage->hide();
  // The lists start at the program's working directory, or at a folder that can be read
  // when it cannot (it may have been deleted since the program started).
  const StartFolder start = FindStartFolder();
  c_.Drive1->SelectDriveOf(start.path);
  c_.Dir1->setPath(start.path);
  frame_.StartUp();
  if (!start.fault.isEmpty()) ShowReadFault(start.fault);
}

void Network1::Drive1_Change() { c_.Dir1->SetDrive(c_.Drive1->drive()); }

void Network1::Dir1_Change() {
  c_.File1->setPath(c_.Dir1->path());
  // The folder's files show beside the tree; a screen reader hears what the folder holds.
  if (isVisible()) announcer_->Say(c_.File1->FolderSummary());
}

void Network1::File1_DblClick() {
  const QString name = c_.File1->fileName();
  if (name.isEmpty()) return;  // nothing selected: nothing to load
  const QString fullPath = QDir(c_.File1->path()).filePath(name);
  PublicStuff& state = State();
  if (const auto fault = LoadTrainingFile(state, QFile::encodeName(fullPath).toStdString())) {
    // The loader left the previous training set in place; so does the page.
    platform().messageBox().Show(
        this,
        QStringLiteral("The training file %1 could not be loaded.\n%2")
            .arg(QDir::toNativeSeparators(fullPath), QString::fromStdString(fault->message)),
        QStringLiteral("Training File Not Loaded"), MessageIcon::Warning);
    return;
  }
  state.TrainingFileName = name.toStdString();
  registry().remembered().trainingFolder = c_.File1->path();
  registry().NotifyNetworkChanged();  // a page showing the old network no longer fits it
  setLoaded_ = true;

  const QStringList values = {name, QString::number(state.NumOutputUnits),
                              QString::number(state.NumInputUnits),
                              QString::number(state.NumPatterns)};
  for (int i = 0; i < 4; ++i) c_.OutputText[i]->setText(values[i]);
  for (QLabel* label : c_.Label8) label->show();
  for (QLineEdit* box : c_.OutputText) box->show();
  c_.NextPage->show();
  // The focus stays on the list, where a wrong choice is put right with the arrows and Enter;
  // a screen reader hears what the boxes now show and that the way on is open.
  announcer_->Say(LoadedNotice(name, state, c_.NextPage->text()));
}

void Network1::NextPage_Click() {
  // The button stays hidden until a file is loaded here, but a screen reader can still press it.
  if (!setLoaded_) return;
  PageRegistry& pages = registry();
  pages.RequestFreshNetwork();
  pages.Open(PageId::DistMem);
  pages.Close(PageId::Network1);
}

void Network1::Command2_Click() { registry().ExitProgram(); }

void Network1::ShowReadFault(const QString& message) {
  platform().messageBox().Show(this, message, QStringLiteral("Cannot Read"), MessageIcon::Warning);
}

Page* CreateNetwork1(PageRegistry& registry) { return new Network1(registry); }

}  // namespace corvel
