#include "pages/print_or_pdf.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/platform.h"

namespace corvel {

void PrintOrOfferPdf(QWidget* page, Platform& platform, const PrintDocument& document,
                     const QString& folder) {
  const std::optional<QString> failure = platform.printer().Print(document);
  if (!failure) return;
  const bool savePdf = platform.messageBox().AskYesNo(
      page,
      QStringLiteral("Nothing was printed: %1.\n\nSave the same pages as a PDF file instead?")
          .arg(*failure),
      QStringLiteral("Printing"), true);
  if (!savePdf) return;
  // A name suggested from the job's title.
  QString suggested = document.title();
  suggested.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("-"));
  const QDir start = folder.isEmpty() ? QDir::current() : QDir(folder);
  const std::optional<QString> path = platform.fileDialog().AskSaveFileName(
      page, QStringLiteral("Save As PDF"), start.filePath(suggested + QStringLiteral(".pdf")),
      QStringLiteral("PDF files (*.pdf)"));
  if (!path) return;
  const QString shown = QDir::toNativeSeparators(QFileInfo(*path).absoluteFilePath());
  if (const auto error = platform.printer().SavePdf(document, *path)) {
    platform.messageBox().Show(
        page, QStringLiteral("The PDF file %1 could not be written: %2.").arg(shown, *error),
        QStringLiteral("PDF Not Saved"), MessageIcon::Warning);
    return;
  }
  platform.messageBox().Show(page, QStringLiteral("The pages were saved as %1.").arg(shown),
                             QStringLiteral("PDF Saved"), MessageIcon::Information);
}

}  // namespace corvel
