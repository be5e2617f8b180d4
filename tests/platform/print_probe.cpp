// Prints on the default printer as a page does. `print_probe FILE` prints the probe page's
// printout, as "Print The Text In The Window" does: the training file's name is FILE and the
// results text comes from standard input. `print_probe --chart` opens the SSE chart page over
// an 11-row history, offscreen, and presses "Print The Graph"; only the printer is the
// system's, every other service is scripted, so nothing waits for a click. Used by
// cups_printing_test.sh. Exits 0 when the job was handed over, 1 with the reason when it was
// not, 2 when the default printer is not the queue LPDEST names.
#include <QApplication>
#include <QFile>
#include <QPrinterInfo>
#include <cstdio>
#include <memory>

#include "pages/chart/plot_sse_data.h"
#include "pages/page_factories.h"
#include "pages/probe/probe_printout.h"
#include "platform/platform.h"
#include "state/public_stuff.h"

using namespace corvel;

namespace {

// The reason, or nothing when the page printed without a word.
std::optional<QString> PrintChart() {
  PublicStuff state;
  state.SSEHistoryCount = 11;
  for (int r = 1; r <= 11; ++r) state.SSEHistory[r] = {0.0, 10.0 * (r - 1), 2.0 / r};
  Platform platform(
      std::make_unique<ScriptedMessageBoxService>(), std::make_unique<ScriptedInputBoxService>(),
      std::make_unique<QtPrinterService>(), std::make_unique<ScriptedFileDialogService>(),
      std::make_unique<ScriptedClipboardService>());
  PageRegistry registry(state, platform, RegionalSettings{});
  RegisterAllPages(registry);
  static_cast<PlotSSEdata*>(registry.Open(PageId::PlotSSEdata))->PrintThisGraph_Click();
  // A failed job is reported in the question that offers a PDF instead.
  const auto& asked = static_cast<ScriptedMessageBoxService&>(platform.messageBox()).calls();
  if (asked.isEmpty()) return std::nullopt;
  return asked.first().text.section(QLatin1Char('\n'), 0, 0);
}

std::optional<QString> PrintProbe(const QString& trainingFile) {
  QFile input;
  input.open(stdin, QIODevice::ReadOnly);
  return QtPrinterService().Print(ProbePrintout(trainingFile, QString::fromUtf8(input.readAll())));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Only the test's own queue, named in LPDEST, may get the job; never a real printer.
  const QString printer = QPrinterInfo::defaultPrinter().printerName();
  if (!printer.isEmpty() && printer != qEnvironmentVariable("LPDEST")) {
    std::fprintf(stderr, "the default printer is %s rather than LPDEST\n", qPrintable(printer));
    return 2;
  }
  const QString mode = app.arguments().value(1);
  const std::optional<QString> failure =
      mode == QLatin1String("--chart") ? PrintChart() : PrintProbe(mode);
  if (failure) std::fprintf(stderr, "%s\n", qPrintable(*failure));
  return failure ? 1 : 0;
}
