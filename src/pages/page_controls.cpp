#include "pages/page_controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace corvel {

QFont PageFont(const QString& family, double points, bool bold, bool italic, bool underline) {
  QFont font(family);
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

QLabel* MakeLabel(QWidget* page, QAnyStringView name, const QString& text, const QFont& font) {
  auto* label = Named(new QLabel(text, page), name, font);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

QPushButton* MakeButton(QWidget* page, QAnyStringView name, const QString& caption,
                        const QFont& font) {
  auto* button = Named(new QPushButton(caption, page), name, font);
  button->setAccessibleName(caption);
  button->setAutoDefault(true);
  return button;
}

QCheckBox* MakeCheckBox(QWidget* page, QAnyStringView name, const QString& caption,
                        const QFont& font, bool checked) {
  auto* box = Named(new QCheckBox(caption, page), name, font);
  box->setAccessibleName(caption);
  box->setChecked(checked);
  return box;
}

}  // namespace corvel
