#include "platform/file_dialog.h"

#include <QDir>
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
  // The name box's caption names the folder the file goes to, which the box itself does not
  // show, so that a screen reader says it too.
  const auto nameFolder = [&dialog](const QString& folder) {
    dialog.setLabelText(QFileDialog::FileName,
                        QStringLiteral("Save in %1 as:").arg(QDir::toNativeSeparators(folder)));
  };
  nameFolder(dialog.directory().absolutePath());
  QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, nameFolder);
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
