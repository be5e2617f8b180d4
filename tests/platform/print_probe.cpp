// Prints the probe page's printout on the default printer, as "Print The Text In The Window"
// does: the training file's name is the first argument and the results text comes from
// standard input. Used by cups_printing_test.sh. Exits 0 when the job was handed over, 1 with
// the reason when it was not, 2 when the default printer is not the queue LPDEST names.
#include <QFile>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <cstdio>

#include "pages/probe/probe_printout.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  // Only the test's own queue, named in LPDEST, may get the job; never a real printer.
  const QString printer = QPrinterInfo::defaultPrinter().printerName();
  if (!printer.isEmpty() && printer != qEnvironmentVariable("LPDEST")) {
    std::fprintf(stderr, "the default printer is %s rather than LPDEST\n", qPrintable(printer));
    return 2;
  }
  QFile input;
  input.open(stdin, QIODevice::ReadOnly);
  const std::optional<QString> failure = corvel::QtPrinterService().Print(
      corvel::ProbePrintout(app.arguments().value(1), QString::fromUtf8(input.readAll())));
  if (failure) std::fprintf(stderr, "Nothing was printed: %s\n", qPrintable(*failure));
  return failure ? 1 : 0;
}
