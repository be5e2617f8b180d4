#include "platform/message_box.h"

#include <QMessageBox>

namespace corvel {
namespace {
QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}
}  // namespace

QString MessageTitle(const QString& title) {
  return title.isEmpty() ? QStringLiteral("Corvel Duvu") : title;
}

void QtMessageBoxService::Show(QWidget* parent, const QString& text, const QString& title,
                               MessageIcon icon) {
  QMessageBox box(ToQt(icon), MessageTitle(title), text, QMessageBox::Ok, parent);
  box.exec();
}

bool QtMessageBoxService::AskYesNo(QWidget* parent, const QString& text, const QString& title,
                                   bool yesIsDefault) {
  QMessageBox box(QMessageBox::Question, MessageTitle(title), text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void ScriptedMessageBoxService::Show(QWidget*, const QString& text, const QString& title,
                                     MessageIcon icon) {
  calls_.append({text, MessageTitle(title), icon, false, false});
}

bool ScriptedMessageBoxService::AskYesNo(QWidget*, const QString& text, const QString& title,
                                         bool yesIsDefault) {
  calls_.append({text, MessageTitle(title), MessageIcon::Question, true, yesIsDefault});
  if (answers_.empty()) return false;
  const bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}

}  // namespace corvel
