#include "pages/chart/sse_chart.h"

#include <QAccessible>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QContextMenuEvent>
#include <QGraphicsTextItem>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <optional>

#include "report/sse_axis.h"

namespace corvel {
namespace {

const QString kTitle =
    QStringLiteral("Total Sum Of Squared Error As A Function Of Training Sweeps");
const QString kXTitle = QStringLiteral("Sweeps Of Training");
const QString kYTitle = QStringLiteral("Network SSE");

const QColor kFill(200, 200, 200);
// A bar narrower than this, in pixels, is drawn without its edge: the edge would cover it.
constexpr qreal kNarrowestEdgedBar = 3;
// Axis labels are kept at least this far apart, in pixels, so that none overlap: across for
// the sweeps, and up the SSE axis.
constexpr qreal kLabelSpacing = 56;
constexpr int kTickSpacing = 40;
// Page Up and Page Down move the current row this many rows.
constexpr int kPageRows = 10;

// The step between labelled bars: 1, 2 or 5 times a power of ten, the smallest that leaves
// room for every label.
int LabelStep(int bars, qreal width) {
  const int room = std::max(1, static_cast<int>(width / kLabelSpacing));
  for (int power = 1;; power *= 10)
    for (int factor : {1, 2, 5})
      if (bars <= room * factor * power) return factor * power;
}

// The row a key moves the current row to, before it is kept within the rows; nothing for a
// key that does not move it.
std::optional<int> RowAfterKey(int key, int current, int last) {
  switch (key) {
    case Qt::Key_Up:
      return current - 1;
    case Qt::Key_Down:
      return current + 1;
    case Qt::Key_PageUp:
      return current - kPageRows;
    case Qt::Key_PageDown:
      return current + kPageRows;
    case Qt::Key_Home:
      return 0;
    case Qt::Key_End:
      return last;
  }
  return std::nullopt;
}

// A screen reader finds the chart as a table named by its title.
QAccessibleInterface* ChartTable(const QString& className, QObject* object) {
  if (className != QLatin1String("corvel::SSEChart") || !object || !object->isWidgetType())
    return nullptr;
  auto* chart = static_cast<SSEChart*>(object);
  return MakeGridAccessible(chart, chart, chart->Title());
}

}  // namespace

SSEChart::SSEChart(QWidget* parent) : QChartView(parent) {
  static const bool accessibleInstalled = (QAccessible::installFactory(&ChartTable), true);
  Q_UNUSED(accessibleInstalled);
  setFocusPolicy(Qt::StrongFocus);
  setRenderHint(QPainter::Antialiasing);
  setBackgroundBrush(Qt::white);
}

void SSEChart::Build(std::vector<SSEPoint> points, const RegionalSettings& rs, bool logarithmic) {
  points_ = std::move(points);
  rs_ = rs;
  sweepTexts_.clear();
  sseTexts_.clear();
  for (const SSEPoint& point : points_) {
    sweepTexts_.append(QString::fromStdString(GeneralNumberText(point.Sweep, rs)));
    sseTexts_.append(QString::fromStdString(GeneralNumberText(point.SSE, rs)));
  }
  axis_.Logarithmic = logarithmic;
  MakeChart();
}

void SSEChart::SetLogarithmic(bool logarithmic) {
  if (logarithmic == axis_.Logarithmic) return;
  axis_.Logarithmic = logarithmic;
  MakeChart();
}

void SSEChart::MakeChart() {
  std::vector<double> sses;
  for (const SSEPoint& point : points_) sses.push_back(point.SSE);
  // Ticks kTickSpacing apart in the height left by the title and the sweep labels.
  const int ticks = std::max(2, (height() - 120) / kTickSpacing);
  axis_ =
      axis_.Logarithmic ? LogarithmicSSEAxis(sses, ticks, rs_) : LinearSSEAxis(sses, ticks, rs_);
  QList<qreal> heights;
  for (const double sse : sses) heights.append(axis_.BarHeight(sse));

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
  bars_->append(heights);
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
  // The SSE axis labels its own ticks, short at every magnitude.
  auto* y = new QCategoryAxis;
  y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  y->setRange(0, axis_.Top);
  for (const SSEAxisTick& tick : axis_.Ticks)
    y->append(QString::fromStdString(tick.Label), tick.Position);
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

  // The view hands back the chart it held (the empty one it was made with, or an earlier
  // build) without deleting it.
  std::unique_ptr<QChart> previous(QChartView::chart());
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

QRectF SSEChart::BarRect(int row) const {
  QChart* shown = chart();
  auto* series = static_cast<QBarSeries*>(shown->series().constFirst());
  const qreal half = series->barWidth() / 2;
  const QPointF top =
      shown->mapToPosition(QPointF(row - half, axis_.BarHeight(points_[row].SSE)), series);
  const QPointF base = shown->mapToPosition(QPointF(row + half, 0), series);
  return shown->mapRectToScene(QRectF(top, base).normalized());
}

void SSEChart::SetCurrentRow(int row) { SetCurrentCell(row, currentColumn_); }

void SSEChart::SetCurrentCell(int row, int column) {
  if ((row == currentRow_ && column == currentColumn_) || row < 0 || row >= RowCount() ||
      column < 0 || column > 1)
    return;
  currentRow_ = row;
  currentColumn_ = column;
  viewport()->update();
  AnnounceCurrentCell(this);
}

QString SSEChart::GridCellText(int row, int column) const {
  return column == 0 ? SweepText(row) : SSEText(row);
}

QString SSEChart::GridColumnHeader(int column) const { return column == 0 ? kXTitle : kYTitle; }

// A row's cells cover its bar; the headers cover the plot area.
QRect SSEChart::GridCellRect(int row, int) const {
  const QRectF scene = row < 0 ? chart()->plotArea() : BarRect(row);
  const QRect inView = mapFromScene(scene).boundingRect();
  return QRect(viewport()->mapTo(this, inView.topLeft()), inView.size());
}

QString SSEChart::Title() const { return kTitle; }
QString SSEChart::XTitle() const { return kXTitle; }
QString SSEChart::YTitle() const { return kYTitle; }

QStringList SSEChart::AxisLabels() const {
  auto* x = static_cast<QCategoryAxis*>(chart()->axes(Qt::Horizontal).constFirst());
  return x->categoriesLabels();
}

QStringList SSEChart::SSEAxisLabels() const {
  auto* y = static_cast<QCategoryAxis*>(chart()->axes(Qt::Vertical).constFirst());
  return y->categoriesLabels();
}

QImage SSEChart::Picture() {
  const QScopedValueRollback bare(drawingPicture_, true);
  return grab().toImage();
}

void SSEChart::DrawPicture(QPainter& painter) {
  const QScopedValueRollback bare(drawingPicture_, true);
  render(&painter);
}

void SSEChart::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  connect(menu.addAction(QStringLiteral("Copy Picture")), &QAction::triggered, this,
          &SSEChart::copyPictureRequested);
  connect(menu.addAction(QStringLiteral("Save Picture As…")), &QAction::triggered, this,
          &SSEChart::savePictureRequested);
  connect(menu.addAction(QStringLiteral("Save Data As…")), &QAction::triggered, this,
          &SSEChart::saveDataRequested);
  menu.addSeparator();
  QAction* scale = menu.addAction(QStringLiteral("Logarithmic SSE Scale"));
  scale->setCheckable(true);
  scale->setChecked(IsLogarithmic());
  connect(scale, &QAction::toggled, this, [this](bool logarithmic) {
    SetLogarithmic(logarithmic);
    emit logarithmicChosen(logarithmic);
  });
  if (event->reason() == QContextMenuEvent::Mouse) {
    menu.exec(event->globalPos());
    return;
  }
  // From the keyboard the menu opens at the chart's corner rather than at the pointer, on its
  // first item, which a screen reader then reads; with none chosen it would say nothing.
  menu.setActiveAction(menu.actions().constFirst());
  menu.exec(mapToGlobal(QPoint(8, 8)));
}

void SSEChart::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(8, 8), mapToGlobal(QPoint(8, 8)));
    contextMenuEvent(&menu);
    return;
  }
  if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
    SetCurrentCell(currentRow_, event->key() == Qt::Key_Right ? 1 : 0);
    return;
  }
  const int last = RowCount() - 1;
  if (const std::optional<int> row = RowAfterKey(event->key(), currentRow_, last))
    SetCurrentRow(std::clamp(*row, 0, std::max(last, 0)));
  else
    QChartView::keyPressEvent(event);
}

void SSEChart::focusInEvent(QFocusEvent* event) {
  QChartView::focusInEvent(event);
  viewport()->update();
  // Qt tells screen readers of the chart's own focus after this handler; the current cell is
  // told after that, or the chart's focus would cover it.
  QTimer::singleShot(0, this, [this] { AnnounceCurrentCell(this); });
}

void SSEChart::focusOutEvent(QFocusEvent* event) {
  QChartView::focusOutEvent(event);
  viewport()->update();
}

void SSEChart::drawForeground(QPainter* painter, const QRectF& rect) {
  QChartView::drawForeground(painter, rect);
  if (!hasFocus() || drawingPicture_ || RowCount() == 0) return;
  painter->save();
  QPen outline(palette().color(QPalette::Highlight), 2, Qt::DashLine);
  outline.setCosmetic(true);
  painter->setPen(outline);
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(BarRect(currentRow_).adjusted(-3, -3, 3, 3));
  painter->restore();
}

}  // namespace corvel
