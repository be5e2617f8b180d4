#pragma once
// While a training run holds the GUI thread, the page lets the window repaint and move, so
// events are processed during the run. This guard, alive for the length of the run, throws
// away every user input of the program's windows except clicks on the few controls that
// must still work (Stop Training, Exit) and the Esc key, which asks the run to stop. Thus no
// other handler (a second Start, the hub's list, a text box) runs in the middle of a sweep.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace corvel {

class RunInputGuard final : public QObject {
 public:
  // `allowed` receive their input as usual; Esc pressed anywhere calls `onEscape`.
  RunInputGuard(std::vector<QWidget*> allowed, std::function<void()> onEscape);
  ~RunInputGuard() override;

  RunInputGuard(const RunInputGuard&) = delete;
  RunInputGuard& operator=(const RunInputGuard&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsAllowed(QObject* target) const;

  std::vector<QPointer<QWidget>> allowed_;
  std::function<void()> onEscape_;
};

}  // namespace corvel
