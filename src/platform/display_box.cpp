#include "platform/display_box.h"

#include <QPalette>

namespace corvel {

DisplayBox::DisplayBox(const QString& description, QWidget* parent) : QLabel(parent) {
  setAccessibleDescription(description);
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setAutoFillBackground(true);
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  back_ = palette().color(QPalette::Button);
  SetBackColor(back_);
}

void DisplayBox::Clear() {
  setText(QString());
  setAccessibleName(QString());
}

void DisplayBox::WriteLine(const QString& line) {
  const QString shown = text().isEmpty() ? line : text() + QLatin1Char('\n') + line;
  setText(shown);
  setAccessibleName(shown);
}

void DisplayBox::SetBackColor(const QColor& color) {
  back_ = color;
  QPalette p = palette();
  p.setColor(QPalette::Window, color);
  setPalette(p);
}

}  // namespace corvel
