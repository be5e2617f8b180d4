#include "pages/chart/sse_chart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QContextMenuEvent>
#include <QGraphicsTextItem>
#include <QMenu>
#include <QTextDocument>
#include <QValueAxis>
#include <algorithm>

namespace corvel {
namespace {

const QString kTitle =
    QStringLiteral("Total Sum Of Squared Error As A Function Of Training Sweeps");
const QString kXTitle = QStringLiteral("Sweeps Of Training");
const QString kYTitle = QStringLiteral("Network SSE");

const QColor kFill(200, 200, 200);
// A bar narrower than this, in pixels, is drawn without its edge: the edge would cover it.
constexpr qreal kNarrowestEdgedBar = 3;
// Axis labels are kept at least this far apart, in pixels, so that none overlap.
constexpr qreal kLabelSpacing = 56;

// The step between labelled bars: 1, 2 or 5 times a power of ten, the smallest that leaves
// room for every label.
int LabelStep(int bars, qreal width) {
  const int room = std::max(1, static_cast<int>(width / kLabelSpacing));
  for (int power = 1;; power *= 10)
    for (int factor : {1, 2, 5})
      if (bars <= room * factor * power) return factor * power;
}

}  // namespace

SSEChart::SSEChart(QWidget* parent) : QChartView(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setRenderHint(QPainter::Antialiasing);
  setBackgroundBrush(Qt::white);
}

void SSEChart::Build(std::vector<SSEPoint> points, const RegionalSettings& rs) {
  points_ = std::move(points);
  QList<qreal> values;
  values.reserve(RowCount());
  for (const SSEPoint& point : points_) {
    sweepTexts_.append(QString::fromStdString(GeneralNumberText(point.Sweep, rs)));
    sseTexts_.append(QString::fromStdString(GeneralNumberText(point.SSE, rs)));
    values.append(point.SSE);
  }

  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setBackgroundBrush(Qt::white);
  chart->setBackgroundRoundness(0);
  chart->setDropShadowEnabled(false);
  chart->legend()->hide();
  QFont titleFont(QStringLiteral("Arial"));
  titleFont.setPointSizeF(14);
  chart->setTitleFont(titleFont);
  chart->setTitleBrush(Qt::black);
  chart->setTitle(kTitle);

  bars_ = new QBarSet(kYTitle);
  bars_->setColor(kFill);
  bars_->setBorderColor(Qt::black);
  bars_->append(values);
  auto* series = new QBarSeries;
  series->append(bars_);
  chart->addSeries(series);

  // Bars stand at 0, 1, 2, ...; the X axis names a readable subset of them by their sweeps.
  auto* x = new QCategoryAxis;
  x->setTitleText(kXTitle);
  x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  x->setRange(-0.5, std::max(RowCount(), 1) - 0.5);
  const int step = LabelStep(RowCount(), width());
  for (int row = 0; row < RowCount(); row += step) x->append(sweepTexts_[row], row);
  auto* y = new QValueAxis;
  y->setMin(0);
  // An error of 0 all along (or no rows) still gets an axis to stand on.
  const qreal highest = values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
  y->setMax(highest > 0 ? highest : 1);
  y->applyNiceNumbers();
  for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(x), static_cast<QAbstractAxis*>(y)}) {
    axis->setGridLineVisible(false);
    axis->setMinorGridLineVisible(false);
    axis->setLabelsColor(Qt::black);
    axis->setTitleBrush(Qt::black);
    axis->setLinePenColor(Qt::black);
  }
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);

  // The Y title reads top to bottom, one upright character under the other.
  yTitle_ = new QGraphicsTextItem(chart);
  yTitle_->setFont(x->titleFont());
  yTitle_->setDefaultTextColor(Qt::black);
  QString stacked;
  for (QChar c : kYTitle) stacked += (stacked.isEmpty() ? QString() : QStringLiteral("\n")) + c;
  yTitle_->setPlainText(stacked);
  QTextOption centred(Qt::AlignHCenter);
  yTitle_->document()->setDefaultTextOption(centred);
  QMargins margins = chart->margins();
  margins.setLeft(margins.left() + static_cast<int>(yTitle_->boundingRect().width()));
  chart->setMargins(margins);

  setChart(chart);
  connect(chart, &QChart::plotAreaChanged, this, &SSEChart::FitToPlotArea);
  chart->resize(size());
  FitToPlotArea();
}

void SSEChart::FitToPlotArea() {
  QChart* shown = chart();
  if (!bars_ || !shown) return;
  const QRectF plot = shown->plotArea();
  const qreal slot = plot.width() / std::max(RowCount(), 1);
  auto* series = static_cast<QBarSeries*>(shown->series().constFirst());
  if (slot * series->barWidth() < kNarrowestEdgedBar) {
    // Too narrow for an edge: edgeless bars that touch, so each keeps its own sliver.
    bars_->setPen(Qt::NoPen);
    series->setBarWidth(1.0);
  } else {
    bars_->setPen(QPen(Qt::black, 1));
  }
  yTitle_->setPos(4, plot.center().y() - yTitle_->boundingRect().height() / 2);
}

QString SSEChart::Title() const { return kTitle; }
QString SSEChart::YTitle() const { return kYTitle; }

QStringList SSEChart::AxisLabels() const {
  auto* x = static_cast<QCategoryAxis*>(chart()->axes(Qt::Horizontal).constFirst());
  return x->categoriesLabels();
}

QImage SSEChart::Picture() { return grab().toImage(); }

void SSEChart::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  connect(menu.addAction(QStringLiteral("Copy Picture")), &QAction::triggered, this,
          &SSEChart::copyPictureRequested);
  connect(menu.addAction(QStringLiteral("Save Picture As…")), &QAction::triggered, this,
          &SSEChart::savePictureRequested);
  connect(menu.addAction(QStringLiteral("Save Data As…")), &QAction::triggered, this,
          &SSEChart::saveDataRequested);
  // From the keyboard the menu opens at the chart's corner rather than at the pointer.
  const QPoint at =
      event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(QPoint(8, 8));
  menu.exec(at);
}

void SSEChart::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(8, 8), mapToGlobal(QPoint(8, 8)));
    contextMenuEvent(&menu);
    return;
  }
  QChartView::keyPressEvent(event);
}

}  // namespace corvel
