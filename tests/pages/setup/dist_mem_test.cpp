// The set-up page DistMem: its parts (progress paced to the screen, box <-> slider mapping,
// colour rules), then what the page does beyond a plain run (which the acceptance tour and
// the batch test pin): refusals, an overflow, stopping a run and activation, with scripted
// message boxes. Expected texts come from the core run on a copy of the same state.

#include <sys/resource.h>
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>

#include <chrono>
#include <fstream>

#include "../page_fixture.h"
#include "learning/training_parameters.h"
#include "pages/setup/dist_mem.h"
#include "pages/setup/slider_mapping.h"
#include "report/failure_text.h"
#include "report/progress_text.h"

using namespace corvel;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0);

struct Recorder final : TrainingObserver {
  TrainingProgress last;
  void Printout(const TrainingProgress& p) override { last = p; }
};

struct RecordingView final : ProgressView {
  std::vector<std::int32_t> printouts, bar, ends;  // sweep counts shown
  int processed = 0;
  void ShowRunStart(const RunStart&) override {}
  void ShowSweepsThisRun(std::int32_t sweeps) override { bar.push_back(sweeps); }
  void ShowPrintout(const TrainingProgress& p) override { printouts.push_back(p.SweepCount); }
  void ShowRunEnd(const TrainingProgress& p) override { ends.push_back(p.SweepCount); }
  void ProcessEvents() override { ++processed; }
};

// One sweep as RunTraining reports it: start, a printout, the stop question.
bool Sweep(PacedProgressObserver& o, std::int32_t n) {
  o.SweepStarted(n);
  o.Printout(TrainingProgress{n, 1.0, 0.5, n != 1});
  return o.StopRequested();
}

// The set-up page opened for a fresh network over "overlap.net".
struct Harness : PageFixture {
  DistMem* page = nullptr;

  Harness() {
    LoadOverlapSet(state);
    pages.RequestFreshNetwork();
    page = static_cast<DistMem*>(pages.Open(PageId::DistMem));
  }
  template <class W = QWidget>
  W* get(const QString& name) {
    return Get<W>(PageId::DistMem, name);
  }
  QLineEdit* box(const char* name) { return get<QLineEdit>(QLatin1String(name)); }
  QCheckBox* check(int i) { return get<QCheckBox>(QStringLiteral("Check1(%1)").arg(i)); }
  QPushButton* button(const char* name) { return get<QPushButton>(QLatin1String(name)); }
  DisplayBox* picture(int i) { return get<DisplayBox>(QStringLiteral("Picture1(%1)").arg(i)); }
  QProgressBar* bar() { return get<QProgressBar>(QStringLiteral("EpochProgress")); }
  void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

  ParameterBoxes Boxes() {
    return {check(0)->isChecked(),
            check(1)->isChecked(),
            box("SweepsBox")->text().toStdString(),
            box("LRateBox")->text().toStdString(),
            box("PrintSweepsBox")->text().toStdString(),
            box("MinErrorBox")->text().toStdString()};
  }
  bool InputsEnabled() {
    for (const char* name : {"SweepsBox", "PrintSweepsBox", "LRateBox", "MinErrorBox"})
      if (!box(name)->isEnabled()) return false;
    return check(0)->isEnabled() && check(1)->isEnabled() && get(u"LRateSlider"_s)->isEnabled() &&
           get(u"OptionDelta"_s)->isEnabled() && get(u"SweepsUpDown"_s)->isEnabled();
  }
};

}  // namespace

class DistMemTest final : public QObject {
  Q_OBJECT
 private slots:
  void pacing_showsTheLatestPrintoutOncePerFrameAndTheEndExactly();
  void boxAndSlider_data();
  void boxAndSlider();
  void printoutColours();
  void badValues_data();
  void badValues();
  void outOfMemory_thenASmallNetworkTrains();
  void overflow_keepsTheLastPrintoutAndTheInputsDisabled();
  void stop_data();
  void stop();
  void focusReturnsToTheButtonThatStartedTheRun_data();
  void focusReturnsToTheButtonThatStartedTheRun();
  void activation();
};

void DistMemTest::pacing_showsTheLatestPrintoutOncePerFrameAndTheEndExactly() {
  RecordingView view;
  std::chrono::steady_clock::time_point now{};
  int clockReads = 0;
  PacedProgressObserver observer(view, 16ms, [&] { return ++clockReads, now; });
  observer.RunStarted(RunStart{true, true});
  for (int n = 1; n <= 4; ++n) {
    now += 5ms;  // sweep 4 ends the first frame
    QVERIFY(!Sweep(observer, n));
    QCOMPARE(view.printouts.empty(), n < 4);
  }
  QCOMPARE(view.printouts, std::vector<std::int32_t>{4});  // only the latest, with the bar
  QCOMPARE(view.bar, std::vector<std::int32_t>{4});
  QCOMPARE(view.processed, 1);
  Sweep(observer, 5);
  observer.Flush();  // as after a failure: what was held back is shown
  QCOMPARE(view.printouts.back(), 5);
  QCOMPARE(view.bar.back(), 5);
  Sweep(observer, 6);
  observer.RequestStop();
  QVERIFY(observer.StopRequested());
  observer.RunEnded(TrainingProgress{6, 0.25, 0.1, true});
  QCOMPARE(view.printouts.size(), std::size_t{2});  // the end display replaces printout 6
  QCOMPARE(view.ends, std::vector<std::int32_t>{6});

  // A new run forgets the stop; without the bar rule no bar moves; quick sweeps read the
  // clock only now and then.
  const std::size_t barUpdates = view.bar.size();
  observer.RunStarted(RunStart{false, false});
  clockReads = 0;
  for (int n = 7; n < 10007; ++n) QVERIFY(!Sweep(observer, n));
  QVERIFY(clockReads < 100);
  now += 1s;
  for (int n = 10007; view.processed == 1; ++n) Sweep(observer, n);  // the next frame comes
  QCOMPARE(view.bar.size(), barUpdates);
}

void DistMemTest::boxAndSlider_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<int>("slider");         // the box's place on a 0..200 slider now at 42
  QTest::addColumn<QString>("sliderBox");  // what that place writes back into the box
  QTest::newRow("above one") << u"1.5"_s << 150 << u"1.5"_s;
  QTest::newRow("tie to even") << u"0.125"_s << 12 << u"0.12"_s;
  QTest::newRow("above the range") << u"3"_s << 200 << u"2"_s;
  QTest::newRow("below the range") << u"-1"_s << 0 << u"0"_s;
  QTest::newRow("no number stays") << u"abc"_s << 42 << u"0.42"_s;
}

void DistMemTest::boxAndSlider() {
  QFETCH(QString, box);
  QFETCH(int, slider);
  QFETCH(QString, sliderBox);
  QCOMPARE(SliderValueForBox(box.toStdString(), 42, 0, 200), slider);
  QCOMPARE(Q(BoxTextForSlider(slider)), sliderBox);
}

void DistMemTest::printoutColours() {
  Harness h;
  const std::array boxes{h.picture(0), h.picture(1), h.picture(2), h.picture(3)};
  h.state.MinSSE = 0.5;
  Announcer announcer(h.page);
  ProgressBoxes view(boxes, h.bar(), announcer, h.state, RegionalSettings{}, [] {});
  view.ShowPrintout(TrainingProgress{10, 1234.5, -0.000123, true});
  QCOMPARE(h.picture(3)->backColor(), kRed);  // the error rose
  view.ShowPrintout(TrainingProgress{20, 1.0, 0.0, true});
  QCOMPARE(h.picture(3)->backColor(), kGreen);              // unchanged counts as not rising
  view.ShowPrintout(TrainingProgress{1, 2.0, 0.0, false});  // sweep 1: no change yet
  QVERIFY(h.picture(3)->text().isEmpty());
  view.ShowRunEnd(TrainingProgress{40, 0.25, 0.25, true});  // the target met: green
  QCOMPARE(h.picture(2)->backColor(), kGreen);
  QCOMPARE(h.picture(3)->backColor(), QApplication::palette().color(QPalette::Button));
  view.ShowRunEnd(TrainingProgress{30, 0.5, 0.25, true});  // SSE equal to the target: not met
  QCOMPARE(h.picture(2)->backColor(), kRed);
}

void DistMemTest::badValues_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("outcome");
  for (const QStringList& row : RobustnessRows(u"Set-up page"_s))
    QTest::newRow(qPrintable(row[0] + u' ' + row[1])) << row[0] << TypedText(row[1]) << row[2];
}

// Each row of the set-up page's table in docs/robustness.md, typed into a fresh page with
// both ways of ending ticked: the message, the value put back, and a page left usable. A
// failure is then tried with only the epochs ticked.
void DistMemTest::badValues() {
  QFETCH(QString, box);
  QFETCH(QString, typed);
  QFETCH(QString, outcome);
  Harness h;
  h.check(1)->setChecked(true);
  QLineEdit* edit = h.box(qPrintable(box));
  edit->setText(typed);
  h.click("StartTraining");
  static const QRegularExpression warning(u"^Warning \"(.*)\": (.*) The box is set to (.*)\\.$"_s);
  static const QRegularExpression runFailure(u"then the failure report: (.*)$"_s);
  if (const QRegularExpressionMatch m = warning.match(outcome); m.hasMatch()) {
    QCOMPARE(h.messages().size(), 1);
    QCOMPARE(h.messages()[0].title, m.captured(1));
    QCOMPARE(h.messages()[0].text, m.captured(2));
    QCOMPARE(u'`' + edit->text() + u'`', m.captured(3));
  } else if (outcome.startsWith(u"Failure report: "_s)) {
    QCOMPARE(h.messages().size(), 1);
    const QString quoted =
        u"%1: \"%2\" in \"%3"_s.arg(outcome.mid(16), typed, edit->accessibleName());
    QVERIFY2(h.messages()[0].text.contains(quoted), qPrintable(h.messages()[0].text));
    // Every box is read also when the minimum-error way of ending is not ticked.
    h.check(1)->setChecked(false);
    h.click("StartTraining");
    QCOMPARE(h.messages().size(), 2);
  } else {
    QVERIFY(outcome.startsWith(u"Training starts"_s) && h.state.SweepCount > 0);
    const QRegularExpressionMatch m = runFailure.match(outcome);
    QCOMPARE(h.messages().size(), m.hasMatch() ? 1 : 0);
    // A run that fails leaves the inputs as they were until the page is activated again.
    if (m.hasMatch()) {
      QVERIFY(h.messages()[0].text.contains(m.captured(1)));
      return;
    }
  }
  QVERIFY(h.InputsEnabled());
}

// Under an address-space limit a network too large for it ends in the out-of-memory report,
// not in the process being killed; a small network then sets up and trains as usual.
void DistMemTest::outOfMemory_thenASmallNetworkTrains() {
#ifdef __SANITIZE_ADDRESS__
  QSKIP("AddressSanitizer maps terabytes of shadow memory: no address-space limit leaves it room");
#endif
  Harness h;
  h.state.NumInputUnits = h.state.NumOutputUnits = 8000;  // 1 GB of weights and changes
  rlimit old{};
  getrlimit(RLIMIT_AS, &old);
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  statm >> pages;
  rlimit limited = old;
  limited.rlim_cur = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{256} << 20);
  setrlimit(RLIMIT_AS, &limited);
  h.pages.RequestFreshNetwork();
  h.page->Form_Activate();
  setrlimit(RLIMIT_AS, &old);
  QCOMPARE(h.messages().size(), 1);
  QCOMPARE(h.messages()[0].text, Q(FailureReportText(kOutOfMemoryCode, "Out of memory")));

  LoadOverlapSet(h.state);
  h.pages.RequestFreshNetwork();
  h.page->Form_Activate();
  h.click("StartTraining");
  QCOMPARE(h.messages().size(), 1);
  QCOMPARE(h.state.SweepCount, 100);
}

void DistMemTest::overflow_keepsTheLastPrintoutAndTheInputsDisabled() {
  // Delta at rate 3 diverges until the SSE overflows, after many printouts.
  Harness h;
  h.get<QRadioButton>(u"OptionDelta"_s)->click();
  h.box("LRateBox")->setText(u"3"_s);
  h.box("SweepsBox")->setText(u"50000"_s);
  h.box("PrintSweepsBox")->setText(u"1"_s);
  PublicStuff copy = h.state;
  ParameterBoxes boxes = h.Boxes();
  Recorder reference;
  QVERIFY(ReadTrainingParameters(copy, boxes).Accepted);
  RunTraining(copy, reference);
  QVERIFY(reference.last.SweepCount > 1);
  QTest::keyClick(h.box("LRateBox"), Qt::Key_Return);  // Start Training is the default button
  QCOMPARE(h.messages().size(), 1);
  QCOMPARE(h.messages()[0].text, Q(FailureReportText(kOverflowCode, "Overflow")));
  // No end-of-run step: the last printout and the bar stay, the inputs stay disabled.
  QCOMPARE(h.picture(1)->text(), Q(EpochsText(reference.last.SweepCount)));
  QCOMPARE(h.picture(2)->text(), Q(TotalSSEText(reference.last.TotalSSE, RegionalSettings{})));
  QVERIFY(h.bar()->isVisible() && h.bar()->value() == h.state.SweepCount);
  QVERIFY(!h.InputsEnabled() && h.button("Continue")->isHidden() &&
          h.button("TestRecall")->isHidden());
  QVERIFY(h.button("StopTraining")->isHidden());
}

void DistMemTest::stop_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("Esc key") << u"escape"_s;
  QTest::newRow("Exit ends the run, then the program") << u"exit"_s;
}

void DistMemTest::stop() {
  QFETCH(QString, how);
  Harness h;
  QVERIFY(QTest::qWaitForWindowExposed(h.page));
  QSignalSpy ended(&h.pages, &PageRegistry::programEnded);
  // Only the minimum-error rule, with a level no run reaches: without a stop it never ends.
  h.check(0)->setChecked(false);
  h.check(1)->setChecked(true);
  h.box("MinErrorBox")->setText(u"-1"_s);
  bool sawRunning = false, secondStartIgnored = false;
  QTimer::singleShot(80, [&] {
    sawRunning = h.page->IsTraining() && h.button("StopTraining")->isVisible() &&
                 !h.InputsEnabled() && h.picture(1)->isVisible();
    // A second start neither clears the weights nor runs (it would not return here).
    const ConnectionArray weights = h.state.Connections;
    h.click("StartTraining");
    h.button("StartTraining")->click();
    secondStartIgnored = h.page->IsTraining() && h.state.Connections == weights;
    h.button("StopTraining")->setFocus();
    if (how == u"escape"_s) QTest::keyClick(h.box("SweepsBox"), Qt::Key_Escape);
    if (how == u"exit"_s) h.click("Command2");
  });
  h.click("StartTraining");

  QVERIFY(sawRunning && secondStartIgnored);
  QVERIFY(h.state.SweepCount > 0 && h.messages().isEmpty());
  QCOMPARE(ended.count(), how == u"exit"_s ? 1 : 0);
  if (how == u"exit"_s) return;  // the page is closing with the program
  // The run ended as if a stopping rule had fired.
  QVERIFY(!h.page->IsTraining() && h.button("StopTraining")->isHidden());
  QVERIFY(!h.button("Command2")->hasFocus());  // Return after a stop must not exit
  QVERIFY(h.button("Continue")->isEnabled() && h.InputsEnabled());
}

void DistMemTest::focusReturnsToTheButtonThatStartedTheRun_data() {
  QTest::addColumn<QString>("starter");
  QTest::addColumn<QString>("ending");
  for (const QString& starter : {u"StartTraining"_s, u"Continue"_s})
    for (const QString& ending : {u"rule"_s, u"stop"_s, u"failure"_s})
      QTest::addRow("%s, %s", qPrintable(starter), qPrintable(ending)) << starter << ending;
}

// Space on the button that started a run, pressed again, trains again: the focus goes back to
// it however the run ended (to Start Training when a failure leaves Continue hidden), never
// on to Exit, where Space would end the program.
void DistMemTest::focusReturnsToTheButtonThatStartedTheRun() {
  QFETCH(QString, starter);
  QFETCH(QString, ending);
  Harness h;
  h.page->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(h.page));
  if (starter == u"Continue"_s) h.click("StartTraining");
  if (ending == u"stop"_s) {
    h.check(0)->setChecked(false);
    h.check(1)->setChecked(true);
    h.box("MinErrorBox")->setText(u"-1"_s);
    QTimer::singleShot(50, [&] { QTest::keyClick(h.page, Qt::Key_Escape); });
  } else if (ending == u"failure"_s) {
    h.get<QRadioButton>(u"OptionDelta"_s)->click();
    h.box("LRateBox")->setText(u"3"_s);
    h.box("SweepsBox")->setText(u"50000"_s);
  }
  QPushButton* pressed = h.button(qPrintable(starter));
  pressed->setFocus();
  QTest::keyClick(pressed, Qt::Key_Space);
  QCOMPARE(h.messages().size(), ending == u"failure"_s ? 1 : 0);
  const bool hidden = ending == u"failure"_s && starter == u"Continue"_s;
  QCOMPARE(QApplication::focusWidget(), hidden ? h.button("StartTraining") : pressed);
}

// A slider writes its box at once; typing in a box leaves its slider until the page is next
// activated, here by the window system after another page. The tour pins what activation does
// to the weights.
void DistMemTest::activation() {
  Harness h;
  auto* rate = h.get<QSlider>(u"LRateSlider"_s);
  rate->setValue(25);
  QCOMPARE(h.box("LRateBox")->text(), u"0.25"_s);
  h.box("LRateBox")->setText(u"0.3"_s);
  QCOMPARE(rate->value(), 25);
  h.pages.Open(PageId::TestDAM);
  h.page->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(h.page));
  QCOMPARE(rate->value(), 30);
}

QTEST_MAIN(DistMemTest)
#include "dist_mem_test.moc"
