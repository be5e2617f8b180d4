#pragma once
// Modal message boxes behind an interface, so pages can be tested without a dialog that
// waits for a click.

#include <QList>
#include <QString>
#include <deque>

class QWidget;

namespace corvel {

enum class MessageIcon { None, Warning, Information, Question, Critical };

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;

  // A modal box with `text`, one OK button and `icon`. An empty title shows the
  // application's title, "Corvel Duvu".
  virtual void Show(QWidget* parent, const QString& text, const QString& title,
                    MessageIcon icon) = 0;

  // A modal question with Yes and No buttons and a question icon; true for Yes. The
  // default button (taken by Enter) is Yes when `yesIsDefault`, otherwise No.
  virtual bool AskYesNo(QWidget* parent, const QString& text, const QString& title,
                        bool yesIsDefault) = 0;
};

// The title a box shows for `title`: the application's title when it is empty.
QString MessageTitle(const QString& title);

// Real modal boxes (QMessageBox).
class QtMessageBoxService final : public MessageBoxService {
 public:
  void Show(QWidget* parent, const QString& text, const QString& title,
            MessageIcon icon) override;
  bool AskYesNo(QWidget* parent, const QString& text, const QString& title,
                bool yesIsDefault) override;
};

// A test double: records every box and answers questions from a queue; never blocks.
class ScriptedMessageBoxService final : public MessageBoxService {
 public:
  struct Call {
    QString text;
    QString title;  // as shown: empty titles are already replaced by the application's
    MessageIcon icon = MessageIcon::None;
    bool question = false;  // AskYesNo rather than Show
    bool yesIsDefault = false;
  };

  void Show(QWidget* parent, const QString& text, const QString& title,
            MessageIcon icon) override;
  // Returns the oldest queued answer; with none queued, answers No.
  bool AskYesNo(QWidget* parent, const QString& text, const QString& title,
                bool yesIsDefault) override;

  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  const QList<Call>& calls() const { return calls_; }
  void clear() { calls_.clear(); answers_.clear(); }

 private:
  QList<Call> calls_;
  std::deque<bool> answers_;
};

}  // namespace corvel
