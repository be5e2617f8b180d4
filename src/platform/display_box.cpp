#include "platform/display_box.h"

#include <QPalette>

namespace corvel {

DisplayBox::DisplayBox(const QString& description, QWidget* parent)
    : QLabel(parent), nameDelay_(new QTimer(this)) {
  setAccessibleDescription(description);
  nameDelay_->setSingleShot(true);
  nameDelay_->setInterval(kNameDelayMs);
  // While the name is not empty, QLabel tells of no new text; this tells of the latest.
  connect(nameDelay_, &QTimer::timeout, this, [this] { setAccessibleName(text()); });
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setAutoFillBackground(true);
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  back_ = palette().color(QPalette::Button);
  SetBackColor(back_);
}

void DisplayBox::Clear() { Display(QString()); }

void DisplayBox::WriteLine(const QString& line) {
  Display(text().isEmpty() ? line : text() + QLatin1Char('\n') + line);
}

void DisplayBox::Display(const QString& shown) {
  setText(shown);
  if (!nameDelay_->isActive()) nameDelay_->start();
}

void DisplayBox::SetBackColor(const QColor& color) {
  back_ = color;
  QPalette p = palette();
  p.setColor(QPalette::Window, color);
  setPalette(p);
}

}  // namespace corvel
