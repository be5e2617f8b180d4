#pragma once
// Small helpers for building a page's controls: fonts by name and size, object names as the
// page design gives them, and captions that screen readers read as the control's name.

#include <QAnyStringView>
#include <QFont>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace corvel {

QFont PageFont(const QString& family, double points, bool bold = false, bool italic = false,
               bool underline = false);
inline QFont Arial(double points, bool bold = false, bool italic = false) {
  return PageFont(QStringLiteral("Arial"), points, bold, italic);
}

// Gives `widget` its object name and font, and returns it.
template <class W>
W* Named(W* widget, QAnyStringView name, const QFont& font) {
  widget->setObjectName(name);
  widget->setFont(font);
  return widget;
}

// A label showing `text` as plain text (never as markup), wrapped onto further lines.
QLabel* MakeLabel(QWidget* page, QAnyStringView name, const QString& text, const QFont& font);
// A button whose caption is its accessible name; Return presses it while it has the focus.
QPushButton* MakeButton(QWidget* page, QAnyStringView name, const QString& caption,
                        const QFont& font);
QCheckBox* MakeCheckBox(QWidget* page, QAnyStringView name, const QString& caption,
                        const QFont& font, bool checked);

}  // namespace corvel
