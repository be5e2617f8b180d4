#pragma once
// The modal "save as" file dialog behind an interface.

#include <QList>
#include <QString>
#include <deque>
#include <optional>

class QWidget;

namespace corvel {

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;

  // Asks for the name of a file to write, starting at `suggestedPath`; `filter` is a name
  // filter such as "PDF files (*.pdf)" whose first suffix is added to a name typed without
  // one. Returns the chosen full path, or nothing when the user cancelled.
  virtual std::optional<QString> AskSaveFileName(QWidget* parent, const QString& title,
                                                 const QString& suggestedPath,
                                                 const QString& filter) = 0;
};

// Real dialog (Qt's own widget dialog, which screen readers can walk).
class QtFileDialogService final : public FileDialogService {
 public:
  std::optional<QString> AskSaveFileName(QWidget* parent, const QString& title,
                                         const QString& suggestedPath,
                                         const QString& filter) override;
};

// A test double: records every question and answers from a queue; with none queued it
// answers as Cancel would. Never blocks.
class ScriptedFileDialogService final : public FileDialogService {
 public:
  struct Call {
    QString title;
    QString suggestedPath;
    QString filter;
  };

  std::optional<QString> AskSaveFileName(QWidget* parent, const QString& title,
                                         const QString& suggestedPath,
                                         const QString& filter) override;

  void QueueAnswer(std::optional<QString> path) { answers_.push_back(std::move(path)); }
  const QList<Call>& calls() const { return calls_; }

 private:
  QList<Call> calls_;
  std::deque<std::optional<QString>> answers_;
};

}  // namespace corvel
