#include "platform/answer_queue.h"
#include "platform/printer.h"

namespace corvel {

std::optional<QString> ScriptedPrinterService::Print(const PrintDocument& document) {
  printed_.append(document);
  return TakeAnswer(printFailures_);
}

std::optional<QString> ScriptedPrinterService::SavePdf(const PrintDocument& document,
                                                       const QString& path) {
  pdfs_.append({path, document});
  return TakeAnswer(pdfFailures_);
}

}  // namespace corvel
