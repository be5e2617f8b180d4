#include "pages/probe/probe_network.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "pages/frame/designs.h"
#include "pages/page_controls.h"
#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "pages/print_or_pdf.h"
#include "pages/probe/probe_printout.h"
#include "platform/announcer.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "platform/up_down.h"
#include "report/probe_text.h"
#include "state/public_stuff.h"

namespace corvel {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Which numbers "Ok" takes, for the message that refuses anything else.
QString AllowedPatterns(int numPatterns) {
  if (numPatterns < 1) return QStringLiteral("The training set has no patterns to present.");
  if (numPatterns == 1) return QStringLiteral("The training set has one pattern: type 1.");
  return QStringLiteral("Type the number of a pattern, a whole number from 1 to %1.")
      .arg(numPatterns);
}

// A block's rows as a screen reader says them: without the rules of dashes and equals signs
// that only mark the block out on screen.
QString SpokenRows(const QString& block) {
  QStringList rows;
  for (const QString& line : block.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
    if (line.count(QLatin1Char('-')) + line.count(QLatin1Char('=')) != line.size())
      rows.append(line);
  }
  return rows.join(QLatin1Char('\n'));
}

}  // namespace

ProbeNetwork::ProbeNetwork(PageRegistry& registry)
    : Page(registry, PageId::ProbeNetwork,
           QStringLiteral(
               "Distributed Memory Program -- Probe Network Responses To Selected Patterns")),
      frame_(this, kProbeNetworkDesign),
      announcer_(new Announcer(this)) {
  Label2 = MakeLabel(this, QStringLiteral("Label2"),
                     QStringLiteral("Examine The Network's Responses To Individual Patterns"),
                     Arial(15.75, true));
  Label2->setAlignment(Qt::AlignCenter);
  PlaceTwips(Label2, 120, 240, 10410, 495);

  const QString patternNumber = QStringLiteral("Pattern Number");
  PatternBox = Named(new QLineEdit(QStringLiteral("1"), this), QStringLiteral("PatternBox"),
                     Arial(12, true));
  PatternBox->setAlignment(Qt::AlignCenter);
  PatternBox->setAccessibleName(patternNumber);
  PlaceTwips(PatternBox, 600, 1140, 960, 405);
  PatternUpDown = new UpDown(this);
  PatternUpDown->setObjectName(QStringLiteral("PatternUpDown"));
  PatternUpDown->setAccessibleName(patternNumber);
  PatternUpDown->setBuddy(PatternBox);
  PlaceTwips(PatternUpDown, 1575, 1140, 270, 405);
  PatternLabel = MakeLabel(this, QStringLiteral("PatternLabel"),
                           QStringLiteral("Use the control to the left to choose a pattern to "
                                          "present to the network.  The results will be added "
                                          "to the text in the textbox below."),
                           Arial(9.75, true));
  PlaceTwips(PatternLabel, 2100, 1020, 5880, 660);
  PatternOK = MakeButton(this, QStringLiteral("PatternOK"), QStringLiteral("Ok"), Arial(12, true));
  PlaceTwips(PatternOK, 8280, 1080, 1800, 495);

  ResultsText = Named(new QPlainTextEdit(this), QStringLiteral("ResultsText"),
                      PageFont(QStringLiteral("Courier"), 9.75));
  QFont fixed = ResultsText->font();
  fixed.setStyleHint(QFont::TypeWriter);  // a fixed-pitch face wherever Courier is missing
  ResultsText->setFont(fixed);
  // A tab stop every eight characters, so the rows' numbers fall into columns.
  ResultsText->setTabStopDistance(8 * QFontMetricsF(fixed).horizontalAdvance(QLatin1Char(' ')));
  ResultsText->setAccessibleName(QStringLiteral("Results"));
  ResultsText->setReadOnly(true);
  ResultsText->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  ResultsText->setLineWrapMode(QPlainTextEdit::NoWrap);
  ResultsText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ResultsText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  PlaceTwips(ResultsText, 240, 1920, 10170, 5640);

  const QFont buttons = Arial(12, true);
  PrintResults = MakeButton(this, QStringLiteral("PrintResults"),
                            QStringLiteral("Print The Text In The Window"), buttons);
  ClearText = MakeButton(this, QStringLiteral("ClearText"),
                         QStringLiteral("Clear The Text In The Window"), buttons);
  Command2 = MakeButton(this, QStringLiteral("Command2"), QStringLiteral("Close Form"), buttons);
  PlaceTwips(PrintResults, 240, 7800, 3900, 615);
  PlaceTwips(ClearText, 4260, 7800, 3900, 615);
  PlaceTwips(Command2, 8280, 7800, 2130, 615);

  // Enter in the number box presents the pattern, as "Ok" does.
  connect(PatternBox, &QLineEdit::returnPressed, this, &ProbeNetwork::PatternOK_Click);
  connect(PatternOK, &QPushButton::clicked, this, &ProbeNetwork::PatternOK_Click);
  connect(ClearText, &QPushButton::clicked, this, &ProbeNetwork::ClearText_Click);
  connect(PrintResults, &QPushButton::clicked, this, &ProbeNetwork::PrintResults_Click);
  connect(Command2, &QPushButton::clicked, this, &ProbeNetwork::Command2_Click);
}

void ProbeNetwork::Form_Load() {
  // The arrows reach the patterns of the training set loaded now; a set loaded later does
  // not change this, but "Ok" always checks against the current one.
  PatternUpDown->setRange(1, State().NumPatterns);
  PatternUpDown->setValue(1);
  // The number is selected, as a spin box's is: typing replaces it, and stepping it with the
  // arrows reads only the new number.
  PatternBox->selectAll();
  frame_.StartUp();
}

void ProbeNetwork::PatternOK_Click() {
  PublicStuff& state = State();
  const QString typed = PatternBox->text();
  const std::optional<int> pattern = PatternNumber(typed.toStdString(), state.NumPatterns);
  if (!pattern) {
    platform().messageBox().Show(this,
                                 QStringLiteral("\"%1\" is not a pattern of this training set. %2")
                                     .arg(typed, AllowedPatterns(state.NumPatterns)),
                                 QStringLiteral("Pattern Number"), MessageIcon::Warning);
    return;
  }
  if (!state.NetworkFitsTrainingSet()) {
    platform().messageBox().Show(
        this,
        QStringLiteral("The memory has not been set up for the training file %1 yet. Go on to "
                       "the set-up page and train it, then present the pattern again.")
            .arg(Text(state.TrainingFileName)),
        QStringLiteral("Memory Not Set Up"), MessageIcon::Warning);
    return;
  }
  const QString block = Text(ProbeBlock(state, *pattern, typed.toStdString(), regionalSettings()));
  SetResults(block + results_);
  // The new block is spoken at once, row by row, while the focus stays in the number box,
  // ready for the next pattern: the student hears the response and its error without leaving
  // the box. Moving the focus into the window instead would read only the block's first line
  // and take the student away from the number. The window's caret stands at the top of this
  // newest block, so reading it line by line starts there.
  announcer_->Say(SpokenRows(block));
}

void ProbeNetwork::ClearText_Click() { SetResults(QString()); }

void ProbeNetwork::PrintResults_Click() {
  PrintOrOfferPdf(this, platform(), ProbePrintout(Text(State().TrainingFileName), results_),
                  registry().remembered().trainingFolder);
}

void ProbeNetwork::Command2_Click() { registry().Close(PageId::ProbeNetwork); }

void ProbeNetwork::SetResults(const QString& text) {
  results_ = text;
  // The window shows one line per CR LF; its view starts at the top, at the newest block.
  ResultsText->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

Page* CreateProbeNetwork(PageRegistry& registry) { return new ProbeNetwork(registry); }

}  // namespace corvel
