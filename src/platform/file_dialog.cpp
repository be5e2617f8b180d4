#include "platform/file_dialog.h"

#include <QFileDialog>
#include <QRegularExpression>

#include "platform/answer_queue.h"

namespace corvel {

std::optional<QString> QtFileDialogService::AskSaveFileName(QWidget* parent, const QString& title,
                                                            const QString& suggestedPath,
                                                            const QString& filter) {
  QFileDialog dialog(parent, title, suggestedPath, filter);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // "PDF files (*.pdf)" adds ".pdf" to a name typed without a suffix.
  const QRegularExpressionMatch suffix =
      QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
  if (suffix.hasMatch()) dialog.setDefaultSuffix(suffix.captured(1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> ScriptedFileDialogService::AskSaveFileName(QWidget*, const QString& title,
                                                                  const QString& suggestedPath,
                                                                  const QString& filter) {
  calls_.append({title, suggestedPath, filter});
  return TakeAnswer(answers_);
}

}  // namespace corvel
