// DistMem's controls: captions, fonts, initial states, accessible names and their fixed
// places in twips inside the design client area (10740 x 9495).

#include <QFont>
#include <iterator>

#include "pages/page_controls.h"
#include "pages/setup/dist_mem.h"
#include "platform/group_body.h"
#include "platform/scaled_slider.h"
#include "platform/twips.h"

namespace corvel {
namespace {

// A control whose caption is what a screen reader says.
template <class W>
W* Captioned(W* widget, const char* objectName, const QString& caption, const QFont& font) {
  widget->setText(caption);
  widget->setAccessibleName(caption);
  return Named(widget, objectName, font);
}

QGroupBox* Frame(QWidget* parent, const char* objectName, const QString& caption) {
  auto* frame = Named(new QGroupBox(caption, parent), objectName, Arial(12, true));
  frame->setAccessibleName(caption);
  return frame;
}

QPushButton* Button(QWidget* parent, const char* objectName, const QString& caption) {
  return MakeButton(parent, objectName, caption, Arial(12, true));
}

QLabel* RowCaption(QWidget* parent, const char* objectName, const QString& caption) {
  auto* label = Named(new QLabel(caption, parent), objectName, Arial(9.75, true));
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

QLineEdit* RowBox(QWidget* parent, const char* objectName, const QString& text,
                  const QString& rowCaption) {
  auto* box = Named(new QLineEdit(text, parent), objectName, Arial(10.5));
  box->setAlignment(Qt::AlignCenter);
  box->setAccessibleName(rowCaption);
  return box;
}

// The box is what a screen reader reads, as a spin button; the arrows are for the mouse.
UpDown* RowUpDown(QWidget* parent, const char* objectName, QLineEdit* box, int maximum) {
  auto* upDown = new UpDown(parent);
  upDown->setObjectName(QLatin1String(objectName));
  upDown->setBuddy(box);
  upDown->setRange(1, maximum);
  return upDown;
}

// Two decimals: the slider holds its box's number times 100 (slider_mapping.h).
QSlider* RowSlider(QWidget* parent, const char* objectName, int maximum,
                   const QString& rowCaption) {
  auto* slider = new ScaledSlider(2, parent);
  slider->setObjectName(QLatin1String(objectName));
  slider->setRange(0, maximum);
  slider->setSingleStep(1);
  slider->setPageStep(5);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(10);
  slider->setAccessibleName(rowCaption);
  return slider;
}

// Row tops, and the columns every row shares: box, up-down or slider, caption.
constexpr double kSweepsRow = 2760, kPrintRow = 3480, kRateRow = 4200, kMinErrorRow = 4920;
constexpr double kBoxLeft = 240, kBoxWidth = 1095, kRowHeight = 375;
constexpr double kCaptionLeft = 3960, kCaptionWidth = 6540, kCaptionHeight = 615;

void PlaceRow(double top, QLineEdit* box, QWidget* control, double controlWidth, QLabel* label) {
  PlaceTwips(box, kBoxLeft, top, kBoxWidth, kRowHeight);
  PlaceTwips(control, kBoxLeft + kBoxWidth + 60, top, controlWidth, kRowHeight);
  PlaceTwips(label, kCaptionLeft, top - (kCaptionHeight - kRowHeight) / 2, kCaptionWidth,
             kCaptionHeight);
}

}  // namespace

void DistMem::CreateControls() {
  Label1 = Named(new QLabel(QStringLiteral("Talvik Distributed Associative Memory Program "
                                           "2003 Edition"),
                            this),
                 "Label1", Arial(20.25, true, true));
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setWordWrap(true);
  PlaceTwips(Label1, 120, 120, 10500, 975);

  Frame1 = Frame(this, "Frame1", QStringLiteral("Choose A Learning Rule"));
  PlaceTwips(Frame1, 240, 1200, 3855, 1335);
  auto* rules = new GroupBody(Frame1);
  OptionHebb =
      Captioned(new QRadioButton(rules), "OptionHebb", QStringLiteral("Hebb Rule"), Arial(10.5));
  OptionDelta =
      Captioned(new QRadioButton(rules), "OptionDelta", QStringLiteral("Delta Rule"), Arial(10.5));
  OptionHebb->setChecked(true);
  PlaceTwips(OptionHebb, 360, 420, 3300, 345);
  PlaceTwips(OptionDelta, 360, 840, 3300, 345);

  ConvergenceFrame =
      Frame(this, "ConvergenceFrame", QStringLiteral("Choose Method(s) For Ending Training"));
  PlaceTwips(ConvergenceFrame, 4320, 1200, 6300, 1335);
  auto* endings = new GroupBody(ConvergenceFrame);
  Check1[0] =
      Captioned(new QCheckBox(endings), "Check1(0)",
                QStringLiteral("End After A Maximum Number Of Training Epochs"), Arial(10.5));
  Check1[1] =
      Captioned(new QCheckBox(endings), "Check1(1)",
                QStringLiteral("End When A Minimum Level Of Error Has Been Reached"), Arial(10.5));
  Check1[0]->setChecked(true);
  PlaceTwips(Check1[0], 240, 420, 5940, 345);
  PlaceTwips(Check1[1], 240, 840, 5940, 345);

  const QString sweepsCaption = QStringLiteral("Choose The Maximum Number Of Epochs");
  SweepsBox = RowBox(this, "SweepsBox", QStringLiteral("100"), sweepsCaption);
  SweepsUpDown = RowUpDown(this, "SweepsUpDown", SweepsBox, 50000);
  MaxSweepsLabel = RowCaption(this, "MaxSweepsLabel", sweepsCaption);
  PlaceRow(kSweepsRow, SweepsBox, SweepsUpDown, 255, MaxSweepsLabel);

  const QString printCaption =
      QStringLiteral("Choose The Number Of Epochs Between Printouts Of Training Information");
  PrintSweepsBox = RowBox(this, "PrintSweepsBox", QStringLiteral("10"), printCaption);
  PrintSweepsUpDown = RowUpDown(this, "PrintSweepsUpDown", PrintSweepsBox, 10000);
  PrintSweepsLabel = RowCaption(this, "PrintSweepsLabel", printCaption);
  PlaceRow(kPrintRow, PrintSweepsBox, PrintSweepsUpDown, 255, PrintSweepsLabel);

  const QString rateCaption = QStringLiteral("Choose A Learning Rate");
  LRateBox = RowBox(this, "LRateBox", QStringLiteral("0.10"), rateCaption);
  LRateSlider = RowSlider(this, "LRateSlider", 200, rateCaption);
  RateLabel = RowCaption(this, "RateLabel", rateCaption);
  PlaceRow(kRateRow, LRateBox, LRateSlider, 2400, RateLabel);

  const QString minErrorCaption =
      QStringLiteral("Set The Minimum Level Of Error (SSE)  To Stop Training");
  MinErrorBox = RowBox(this, "MinErrorBox", QStringLiteral("0.05"), minErrorCaption);
  MinErrorSlider = RowSlider(this, "MinErrorSlider", 100, minErrorCaption);
  MinErrorLabel = RowCaption(this, "MinErrorLabel", minErrorCaption);
  PlaceRow(kMinErrorRow, MinErrorBox, MinErrorSlider, 2400, MinErrorLabel);

  StartTraining = Button(this, "StartTraining", QStringLiteral("Start Training"));
  StartTraining->setDefault(true);
  PlaceTwips(StartTraining, 240, 5880, 2175, 615);
  StopTraining = Button(this, "StopTraining", QStringLiteral("Stop Training"));
  StopTraining->hide();
  PlaceTwips(StopTraining, 240, 6600, 2175, 615);

  const char* boxNames[] = {"Picture1(0)", "Picture1(1)", "Picture1(2)", "Picture1(3)"};
  const QString boxMeanings[] = {QStringLiteral("Training File"), QStringLiteral("Epochs"),
                                 QStringLiteral("Total SSE"), QStringLiteral("Change in SSE")};
  for (int i = 0; i < 4; ++i) {
    Picture1[i] = Named(new DisplayBox(boxMeanings[i], this), boxNames[i], Arial(10.5, true));
    PlaceTwips(Picture1[i], 2640, 5880 + 435 * i, 5175, 375);
    Picture1[i]->hide();
  }
  EpochProgress = new QProgressBar(this);
  EpochProgress->setObjectName(QStringLiteral("EpochProgress"));
  EpochProgress->setAccessibleName(QStringLiteral("Epochs Done"));
  EpochProgress->setAccessibleDescription(QStringLiteral("Epochs trained in this run"));
  EpochProgress->hide();
  PlaceTwips(EpochProgress, 2640, 7740, 5175, 375);

  Continue = Button(this, "Continue", QStringLiteral("Continue Training"));
  TestRecall = Button(this, "TestRecall", QStringLiteral("Test Recall"));
  Command2 = Button(this, "Command2", QStringLiteral("Exit"));
  Continue->hide();
  TestRecall->hide();
  PlaceTwips(Continue, 7980, 5880, 2520, 615);
  PlaceTwips(TestRecall, 7980, 6600, 2520, 615);
  PlaceTwips(Command2, 7980, 7620, 2520, 615);

  Label3 = Named(new QLabel(this), "Label3", Arial(8.25, false, true));
  PlaceTwips(Label3, 240, 8880, 10260, 375);

  announcer_ = new Announcer(this);
}

void DistMem::SetTabOrder() {
  QWidget* const order[] = {OptionHebb,     OptionDelta,  Check1[0],   Check1[1],   SweepsBox,
                            PrintSweepsBox, LRateBox,     LRateSlider, MinErrorBox, MinErrorSlider,
                            StartTraining,  StopTraining, Continue,    TestRecall,  Command2};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace corvel
