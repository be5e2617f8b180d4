#pragma once
// A small box that shows a line of text on a settable background colour, cleared and
// rewritten by the program (the set-up page's progress boxes).

#include <QColor>
#include <QLabel>

namespace corvel {

class DisplayBox final : public QLabel {
  Q_OBJECT
 public:
  // `description` is the fixed accessible description saying what the box shows
  // ("Total SSE"); the accessible name always follows the box's text.
  explicit DisplayBox(const QString& description, QWidget* parent = nullptr);

  // Empties the box; the background colour stays.
  void Clear();
  // Writes one line after what the box already shows (boxes are cleared before each line,
  // so they normally show exactly one).
  void WriteLine(const QString& line);
  // The lines shown, joined by "\n"; empty after Clear.
  QString text() const { return QLabel::text(); }

  void SetBackColor(const QColor& color);
  QColor backColor() const { return back_; }

 private:
  QColor back_;
};

}  // namespace corvel
