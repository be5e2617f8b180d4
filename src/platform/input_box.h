#pragma once
// The modal input box (a prompt, a title and a default text) behind an interface.

#include <QList>
#include <QString>
#include <deque>
#include <optional>

class QWidget;

namespace corvel {

class InputBoxService {
 public:
  virtual ~InputBoxService() = default;

  // Asks for one line of text. Returns the text (possibly empty) on OK and nothing on
  // Cancel. An empty title shows the application's title.
  virtual std::optional<QString> Ask(QWidget* parent, const QString& prompt,
                                     const QString& title, const QString& defaultText) = 0;
};

// Real modal box (QInputDialog).
class QtInputBoxService final : public InputBoxService {
 public:
  std::optional<QString> Ask(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText) override;
};

// A test double: records every prompt and answers from a queue; with none queued it
// answers as Cancel would. Never blocks.
class ScriptedInputBoxService final : public InputBoxService {
 public:
  struct Call {
    QString prompt;
    QString title;  // as shown
    QString defaultText;
  };

  std::optional<QString> Ask(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText) override;

  void QueueAnswer(std::optional<QString> answer) { answers_.push_back(std::move(answer)); }
  const QList<Call>& calls() const { return calls_; }

 private:
  QList<Call> calls_;
  std::deque<std::optional<QString>> answers_;
};

}  // namespace corvel
