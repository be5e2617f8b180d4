#include "platform/input_box.h"

#include <QInputDialog>

#include "platform/answer_queue.h"
#include "platform/message_box.h"

namespace corvel {

std::optional<QString> QtInputBoxService::Ask(QWidget* parent, const QString& prompt,
                                              const QString& title, const QString& defaultText) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent, MessageTitle(title), prompt, QLineEdit::Normal,
                                             defaultText, &ok);
  if (!ok) return std::nullopt;
  return text;
}

std::optional<QString> ScriptedInputBoxService::Ask(QWidget*, const QString& prompt,
                                                    const QString& title,
                                                    const QString& defaultText) {
  calls_.append({prompt, MessageTitle(title), defaultText});
  return TakeAnswer(answers_);
}

}  // namespace corvel
