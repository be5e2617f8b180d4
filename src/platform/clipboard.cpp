#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace corvel {

void QtClipboardService::SetPicture(const QImage& picture) {
  QGuiApplication::clipboard()->setImage(picture);
}

QImage QtClipboardService::Picture() const { return QGuiApplication::clipboard()->image(); }

}  // namespace corvel
