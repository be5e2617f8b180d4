#include "pages/print_or_pdf.h"

#include <QDir>
#include <QRegularExpression>

#include "platform/platform.h"

namespace corvel {

void PrintOrOfferPdf(QWidget* page, Platform& platform, const PrintDocument& document) {
  const std::optional<QString> failure = platform.printer().Print(document);
  if (!failure) return;
  const bool savePdf = platform.messageBox().AskYesNo(
      page,
      QStringLiteral("Nothing was printed: %1.\n\nSave the same pages as a PDF file instead?")
          .arg(*failure),
      QStringLiteral("Printing"), true);
  if (!savePdf) return;
  // A name suggested from the job's title, in the current directory.
  QString suggested = document.title();
  suggested.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("-"));
  const std::optional<QString> path = platform.fileDialog().AskSaveFileName(
      page, QStringLiteral("Save As PDF"),
      QDir::current().filePath(suggested + QStringLiteral(".pdf")),
      QStringLiteral("PDF files (*.pdf)"));
  if (!path) return;
  if (const auto error = platform.printer().SavePdf(document, *path)) {
    platform.messageBox().Show(page,
                               QStringLiteral("The PDF file %1 could not be written: %2.")
                                   .arg(QDir::toNativeSeparators(*path), *error),
                               QStringLiteral("PDF Not Saved"), MessageIcon::Warning);
  }
}

}  // namespace corvel
