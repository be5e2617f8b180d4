#include "platform/printer.h"

namespace corvel {
namespace {

std::optional<QString> TakeFailure(std::deque<QString>& failures) {
  if (failures.empty()) return std::nullopt;
  QString reason = failures.front();
  failures.pop_front();
  return reason;
}

}  // namespace

std::optional<QString> ScriptedPrinterService::Print(const PrintDocument& document) {
  printed_.append(document);
  return TakeFailure(printFailures_);
}

std::optional<QString> ScriptedPrinterService::SavePdf(const PrintDocument& document,
                                                       const QString& path) {
  pdfs_.append({path, document});
  return TakeFailure(pdfFailures_);
}

}  // namespace corvel
