#pragma once
// What screen readers find of the program's controls beyond Qt's own accessible interfaces,
// tuned by ear with Orca:
//  - every text box reports its text as one run of attributes (Qt's line edit reports empty
//    runs, and Orca then drops the last character: "100" was read "10");
//  - a text box bound to an UpDown is a spin button with a value, its range and its step;
//  - a ScaledSlider reports the number it stands for (0.10), not its position (10);
//  - a GroupBody is a panel without a name of its own;
//  - an Announcer is a notification that Orca speaks wherever the focus is.
// Besides, when a control appears on a page that is already shown, screen readers are told to
// read its states anew, and a text box gaining or losing the focus keeps the news of its
// selection to itself (see accessibility.cpp).
//
// The SSE chart installs its own interface for its table (pages/chart).

class QAbstractItemView;

namespace corvel {

// Installs the interfaces above. Call it first thing after the QApplication is made, before
// any widget exists: Qt makes a widget's accessible interface once, often while the widget
// is still being constructed, and keeps it. Calling it again does nothing.
void InstallAccessibility();

// Tells screen readers that row `row` of `view` has the focus, so that they read it. Item
// views announce their current row only when it changes while they have the focus; a list
// or tree arriving by Tab otherwise names itself and not the item it stands on. Call it on
// the turn after the view's focus-in, once Qt's own news of the focus has gone out.
void AnnounceRow(QAbstractItemView* view, int row);

}  // namespace corvel
