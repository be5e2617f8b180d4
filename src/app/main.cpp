// corvel-duvu: opens the training-file page in the folder given on the command line, or in
// the current one; the program ends when its last page closes, when a page's "Exit" is
// pressed, or on SIGTERM, SIGINT or SIGHUP.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <clocale>
#include <cstdio>

#include "app/command_line.h"
#include "app/quit_on_signal.h"
#include "pages/page_factories.h"
#include "platform/accessibility.h"
#include "platform/platform.h"
#include "platform/regional_settings.h"
#include "state/public_stuff.h"

namespace {

// Prints the help or the version and returns the exit status, or returns nothing when the
// program goes on to open its window, in the folder the command line names.
std::optional<int> FollowCommandLine(const std::vector<std::string>& args) {
  const corvel::AppCommandLine line = corvel::ParseAppCommandLine(args);
  switch (line.action) {
    case corvel::AppCommandLine::Action::PrintHelp:
      std::fputs(corvel::AppHelpText().c_str(), stdout);
      return 0;
    case corvel::AppCommandLine::Action::PrintVersion:
      std::fputs(corvel::AppVersionText(qVersion()).c_str(), stdout);
      return 0;
    case corvel::AppCommandLine::Action::Refuse:
      std::fprintf(stderr, "corvel-duvu: %s (--help says how to start it)\n", line.problem.c_str());
      return 2;
    case corvel::AppCommandLine::Action::Run:
      break;
  }
  if (line.folder) {
    const QString folder = QFile::decodeName(line.folder->c_str());
    if (!QFileInfo(folder).isDir() || !QDir::setCurrent(folder)) {
      const char* why = QFileInfo::exists(folder) ? "it is not a folder that can be opened"
                                                  : "there is no such folder";
      std::fprintf(stderr, "corvel-duvu: cannot open the folder \"%s\": %s\n", line.folder->c_str(),
                   why);
      return 2;
    }
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  // --help and --version need no display, so they are answered before Qt looks for one
  // (the man page is made from them at build time, where there may be none).
  if (corvel::AsksForTextOnly(argc, argv)) {
    return *FollowCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  }
  QApplication app(argc, argv);
  // What is left once Qt has taken its own options (-platform, -style and the like).
  std::vector<std::string> args;
  for (const QString& arg : QApplication::arguments().mid(1)) {
    args.push_back(QFile::encodeName(arg).toStdString());
  }
  if (const std::optional<int> status = FollowCommandLine(args)) {
    return *status;
  }
  corvel::InstallAccessibility();  // before any widget exists
  // Qt sets the numeric locale from the environment; the core reads and writes numbers
  // with a period whatever the user's locale says.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setQuitOnLastWindowClosed(false);  // the page registry decides
  corvel::QuitOnTerminationSignals(&app);

  corvel::PublicStuff state;
  const std::unique_ptr<corvel::Platform> platform = corvel::MakeQtPlatform();
  corvel::PageRegistry pages(state, *platform, corvel::SystemRegionalSettings());
  corvel::RegisterAllPages(pages);
  QObject::connect(&pages, &corvel::PageRegistry::programEnded, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  pages.Open(corvel::PageId::Network1);
  return QApplication::exec();
}
