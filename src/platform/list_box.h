#pragma once
// A list box whose items are chosen by double-clicking them, as the hub page's lists are.
// A double-click anywhere in the list (on an item or on the empty space below the items)
// and the Enter key both raise DblClick; the handler then asks ListIndex which item, if any,
// is selected.

#include <QListWidget>

namespace corvel {

// Keyboard and screen-reader help shared by the program's lists. The view makes the first
// item current when the list takes the focus, without choosing it: the first Down would then
// skip it, unheard. ChooseFirstOnDown chooses it instead and tells screen readers; it returns
// true when it took the key. AnnounceChosen reads the chosen item out on focus-in, which Qt
// leaves out when a list is reached by Tab.
bool ChooseFirstOnDown(QListWidget& list, const QKeyEvent& event);
void AnnounceChosen(QListWidget& list);

class ListBox final : public QListWidget {
  Q_OBJECT
 public:
  explicit ListBox(const QStringList& items, QWidget* parent = nullptr);

  // The selected item's index, or -1 when none is selected.
  int ListIndex() const;

 signals:
  void DblClick();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
};

}  // namespace corvel
