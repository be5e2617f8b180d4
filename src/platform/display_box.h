#pragma once
// A small box that shows a line of text on a settable background colour, cleared and
// rewritten by the program (the set-up page's progress boxes).

#include <QColor>
#include <QLabel>
#include <QTimer>

namespace corvel {

class DisplayBox final : public QLabel {
  Q_OBJECT
 public:
  // `description` is the fixed accessible description saying what the box shows
  // ("Total SSE"); the accessible name follows the box's text, a moment later (see
  // kNameDelayMs).
  explicit DisplayBox(const QString& description, QWidget* parent = nullptr);

  // A training run rewrites its boxes every frame of the screen, and Qt tells screen readers
  // of every new text; the stream of news swamped Orca, which then took neither keys nor
  // announcements until the run ended. The box's accessible name takes its text at most this
  // often, and always within this time of the last change.
  static constexpr int kNameDelayMs = 250;

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
  void Display(const QString& shown);
  QColor back_;
  QTimer* nameDelay_;
};

}  // namespace corvel
