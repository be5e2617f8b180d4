#pragma once
// The panel that a titled group box's controls sit on, covering the box. Qt labels every
// control sitting directly on a titled group box with the title, and Orca then said the title
// twice on entering the group ("... panel. | Choose A Learning Rule.") and again at every arrow
// key between its radio buttons. Screen readers pass over this panel (it has no name of its
// own, accessibility.cpp), so the title is said once, as the group's, on entering it.

#include <QWidget>

class QGroupBox;

namespace corvel {

class GroupBody final : public QWidget {
  Q_OBJECT
 public:
  // Covers `group`, which already has its place.
  explicit GroupBody(QGroupBox* group);
};

}  // namespace corvel
