#pragma once
// A message for screen-reader users about something that happened away from the focus: a
// training file loaded, a training run ended. Sighted users see the result in the page's
// boxes; a screen reader would say nothing of them, since the focus stays where the user
// pressed the key. The announcer is a hidden notification: Say() makes a screen reader speak
// its text at once, without moving the focus, so the user can go on from where they were.

#include <QWidget>

namespace corvel {

class Announcer final : public QWidget {
  Q_OBJECT
 public:
  explicit Announcer(QWidget* page);

  void Say(const QString& text);
  // The last text said; empty before the first.
  QString said() const { return accessibleName(); }
};

}  // namespace corvel
