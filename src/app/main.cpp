// corvel-duvu: opens the training-file page in the current directory; the program ends when
// its last page closes, when a page's "Exit" is pressed, or on SIGTERM, SIGINT or SIGHUP.
#include <QApplication>
#include <clocale>

#include "pages/page_factories.h"
#include "platform/accessibility.h"
#include "platform/platform.h"
#include "platform/regional_settings.h"
#include "quit_on_signal.h"
#include "state/public_stuff.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
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
