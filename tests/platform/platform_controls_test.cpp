// The platform stand-ins: twips placement, the up-down bound to a box, what screen readers
// find of boxes and sliders, the display box, the scripted message and input boxes and the
// system clipboard.
#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "platform/accessibility.h"
#include "platform/clipboard.h"
#include "platform/display_box.h"
#include "platform/platform.h"
#include "platform/scaled_slider.h"
#include "platform/twips.h"
#include "platform/up_down.h"

using namespace corvel;

class PlatformControlsTest final : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { InstallAccessibility(); }
  void twipsPlacementKeepsExactTwips();
  void upDownStepsTheBoxNumber_data();
  void upDownStepsTheBoxNumber();
  void upDownFollowsTheBoxAndLeavesItsText();
  void screenReadersGetWholeNumbers();
  void displayBoxNameFollowsText();
  void scriptedBoxesRecordAndAnswer();
  void systemClipboardHoldsThePicture();
};

void PlatformControlsTest::twipsPlacementKeepsExactTwips() {
  QWidget page;
  QWidget child(&page);
  PlaceTwips(&child, 1000, 2000, 1500, 457);
  QCOMPARE(child.geometry(), QRect(67, 133, 100, 30));  // to the nearest pixel
  QCOMPARE(TwipsGeometry(&child), QRectF(1000, 2000, 1500, 457));
  // Single-twip moves add up rather than rounding away.
  for (int i = 0; i < 15; ++i) SetLeftTwips(&child, TwipsGeometry(&child).left() - 1);
  QCOMPARE(TwipsGeometry(&child).left(), 985.0);
  QCOMPARE(child.x(), 66);
  // Moved by pixel means, the pixels are the truth.
  child.move(10, 20);
  QCOMPARE(TwipsGeometry(&child).topLeft(), QPointF(150, 300));
}

void PlatformControlsTest::upDownStepsTheBoxNumber_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<double>("shown");  // what a screen reader reads before the step
  QTest::addColumn<int>("steps");
  QTest::addColumn<QString>("after");
  QTest::newRow("up from typed") << QStringLiteral("100") << 100.0 << 1 << QStringLiteral("101");
  QTest::newRow("down from typed") << QStringLiteral(" 7 ") << 7.0 << -2 << QStringLiteral("5");
  QTest::newRow("fraction rounds") << QStringLiteral("9.6") << 9.6 << 1 << QStringLiteral("11");
  QTest::newRow("stops at maximum") << QStringLiteral("499") << 499.0 << 3 << QStringLiteral("500");
  QTest::newRow("stops at minimum") << QStringLiteral("2") << 2.0 << -5 << QStringLiteral("1");
  QTest::newRow("typed above maximum")
      << QStringLiteral("90000") << 90000.0 << -1 << QStringLiteral("499");
  QTest::newRow("not a number: from last value")
      << QStringLiteral("abc") << 20.0 << 1 << QStringLiteral("21");
}

void PlatformControlsTest::upDownStepsTheBoxNumber() {
  QFETCH(QString, typed);
  QFETCH(double, shown);
  QFETCH(int, steps);
  QFETCH(QString, after);
  QLineEdit box;
  UpDown upDown;
  upDown.setBuddy(&box);
  upDown.setRange(1, 500);
  upDown.setValue(20);
  box.setText(typed);
  QCOMPARE(QAccessible::queryAccessibleInterface(&box)->valueInterface()->currentValue(),
           QVariant(shown));
  upDown.StepBy(steps);
  QCOMPARE(box.text(), after);
  QCOMPARE(upDown.value(), after.toInt());
}

void PlatformControlsTest::upDownFollowsTheBoxAndLeavesItsText() {
  // Bound as the set-up page binds them: the box holds its number before the range is set.
  QLineEdit box(QStringLiteral("500"));
  UpDown upDown;
  upDown.setBuddy(&box);
  upDown.setRange(1, 50000);
  QCOMPARE(upDown.value(), 500);
  box.setText(QStringLiteral("0.5e2"));
  QCOMPARE(box.text(), QStringLiteral("0.5e2"));
  QCOMPARE(upDown.value(), 50);
  // The Up key in the box steps like the arrow; a disabled up-down leaves the key alone.
  QTest::keyClick(&box, Qt::Key_Up);
  QCOMPARE(box.text(), QStringLiteral("51"));
  upDown.setEnabled(false);
  QTest::keyClick(&box, Qt::Key_Down);
  QCOMPARE(box.text(), QStringLiteral("51"));

  // A screen reader sees the box as a spin button whose value it can read and set.
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
  QCOMPARE(accessible->role(), QAccessible::SpinBox);
  QAccessibleValueInterface* value = accessible->valueInterface();
  QCOMPARE(value->currentValue().toInt(), 51);
  QCOMPARE(value->maximumValue().toInt(), 50000);
  value->setCurrentValue(7);
  QCOMPARE(box.text(), QStringLiteral("7"));
}

void PlatformControlsTest::screenReadersGetWholeNumbers() {
  // One run of text attributes covers the whole text (Orca reads up to the end of the last).
  QLineEdit rate(QStringLiteral("0.10"));
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&rate);
  QCOMPARE(box->role(), QAccessible::EditableText);
  QVERIFY(!box->valueInterface());
  int start = -1, end = -1;
  box->textInterface()->attributes(2, &start, &end);
  QCOMPARE(std::pair(start, end), std::pair(0, int(rate.text().size())));
  QCOMPARE(box->textInterface()->text(0, end), rate.text());
  box->editableTextInterface()->replaceText(2, 4, QStringLiteral("25"));
  QCOMPARE(rate.text(), QStringLiteral("0.25"));

  // A slider's value is the number it stands for, with the slider's decimals.
  ScaledSlider slider(2);
  slider.setRange(0, 200);
  slider.setValue(10);
  QAccessibleInterface* scaled = QAccessible::queryAccessibleInterface(&slider);
  QCOMPARE(scaled->text(QAccessible::Value), QStringLiteral("0.10"));
  QCOMPARE(scaled->valueInterface()->minimumStepSize().toDouble(), 0.01);
  scaled->valueInterface()->setCurrentValue(1.5);
  QCOMPARE(slider.value(), 150);
}

void PlatformControlsTest::displayBoxNameFollowsText() {
  DisplayBox box(QStringLiteral("Total SSE"));
  box.SetBackColor(QColor(255, 0, 0));
  box.WriteLine(QStringLiteral("old"));
  box.Clear();
  box.WriteLine(QStringLiteral("Total SSE: 1.50"));
  box.WriteLine(QStringLiteral("b"));
  QCOMPARE(box.text(), QStringLiteral("Total SSE: 1.50\nb"));
  QTRY_COMPARE(box.accessibleName(), box.text());
  QCOMPARE(box.accessibleDescription(), QStringLiteral("Total SSE"));
  QCOMPARE(box.backColor(), QColor(255, 0, 0));  // clearing keeps the colour
}

void PlatformControlsTest::scriptedBoxesRecordAndAnswer() {
  ScriptedPlatform platform;
  platform.messageBox().Show(nullptr, QStringLiteral("x"), QString(), MessageIcon::None);
  platform.messages().QueueAnswer(true);
  QVERIFY(platform.messageBox().AskYesNo(nullptr, QStringLiteral("q"), QStringLiteral("T"), false));
  QVERIFY(!platform.messageBox().AskYesNo(nullptr, QStringLiteral("q"), QStringLiteral("T"), true));
  const auto& calls = platform.messages().calls();
  QCOMPARE(calls.size(), 3);
  QCOMPARE(calls[0].title, QStringLiteral("Corvel Duvu"));
  QVERIFY(calls[1].question && !calls[1].yesIsDefault);
  QCOMPARE(calls[2].icon, MessageIcon::Question);

  platform.input().QueueAnswer(QStringLiteral("results.txt"));
  QCOMPARE(
      platform.inputBox().Ask(nullptr, QStringLiteral("Name?"), QString(), QStringLiteral("d")),
      std::optional<QString>(QStringLiteral("results.txt")));
  QCOMPARE(platform.inputBox().Ask(nullptr, QStringLiteral("Name?"), QString(), QString()),
           std::nullopt);  // nothing queued: Cancel
  QCOMPARE(platform.input().calls().at(0).title, QStringLiteral("Corvel Duvu"));
}

void PlatformControlsTest::systemClipboardHoldsThePicture() {
  QImage picture(4, 3, QImage::Format_RGB32);
  picture.fill(QColor(10, 20, 30));
  QtClipboardService clipboard;
  clipboard.SetPicture(picture);
  QCOMPARE(clipboard.Picture().convertToFormat(QImage::Format_RGB32), picture);
}

QTEST_MAIN(PlatformControlsTest)
#include "platform_controls_test.moc"
