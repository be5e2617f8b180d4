#include "pages/weights/weight_map_view.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "state/public_stuff.h"

namespace corvel {
namespace {

constexpr double kLargestCell = 48;   // pixels per unit, zoomed in as far as it goes
constexpr double kGridFromCell = 12;  // cells this wide or wider are drawn with grid lines
constexpr double kTextFromCell = 34;  // and this wide, with their weights written in them
constexpr std::size_t kWeightsPerStep = std::size_t{1} << 16;

// A screen reader finds the view as a table named "Weights".
QAccessibleInterface* WeightsTable(const QString& className, QObject* object) {
  if (className != QLatin1String("corvel::WeightMapView") || !object || !object->isWidgetType())
    return nullptr;
  auto* view = static_cast<WeightMapView*>(object);
  return MakeGridAccessible(view, view, QStringLiteral("Weights"));
}

}  // namespace

WeightMapView::WeightMapView(QWidget* parent) : QAbstractScrollArea(parent) {
  static const bool accessibleInstalled = (QAccessible::installFactory(&WeightsTable), true);
  Q_UNUSED(accessibleInstalled);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
}

WeightMapView::~WeightMapView() = default;

void WeightMapView::Show(const PublicStuff* state, const RegionalSettings& rs) {
  rs_ = rs;
  const bool ready = state && state->NetworkFitsTrainingSet();
  state_ = ready ? state : nullptr;
  const int inputs = ready ? state->NumInputUnits : 0;
  const int outputs = ready ? state->NumOutputUnits : 0;
  if (inputs != inputs_ || outputs != outputs_) {
    inputs_ = inputs;
    outputs_ = outputs;
    image_ = QImage();
    fit_ = true;
    current_ = QPoint(std::clamp(current_.x(), 0, std::max(outputs_ - 1, 0)),
                      std::clamp(current_.y(), 0, std::max(inputs_ - 1, 0)));
  }
  UpdateScrollBars();
  Redraw();
}

void WeightMapView::Redraw() {
  if (!state_ || inputs_ == 0 || outputs_ == 0) {
    reduction_.reset();
    image_ = QImage();
    scale_ = 0;
    viewport()->update();
    emit drawn();
    return;
  }
  const WeightRegion region = Visible();
  // At most one cell per unit, and one per pixel when the units are smaller than pixels.
  const auto cells = [this](int units) {
    return std::min(units, static_cast<int>(std::ceil(units * cell_)));
  };
  reduction_ = std::make_unique<WeightMapReduction>(state_->Connections.Weight, region,
                                                    cells(region.inputs), cells(region.outputs));
  emit workNeeded();
}

bool WeightMapView::Work(std::chrono::nanoseconds slice) {
  if (!reduction_) return true;
  // A network made afresh since Show must not be read with the old counts.
  if (!state_->NetworkFitsTrainingSet() || state_->NumInputUnits != inputs_ ||
      state_->NumOutputUnits != outputs_) {
    Show(state_, rs_);
    if (!reduction_) return true;
  }
  const auto end = std::chrono::steady_clock::now() + slice;
  while (!reduction_->Step(kWeightsPerStep) && std::chrono::steady_clock::now() < end) {
  }
  if (!reduction_->Done()) return false;

  const WeightMapReduction& r = *reduction_;
  QImage image(r.Columns(), r.Rows(), QImage::Format_RGB32);
  for (int row = 0; row < r.Rows(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
    for (int column = 0; column < r.Columns(); ++column) {
      const Rgb c = WeightColour(r.Cell(row, column), r.LargestMagnitude());
      line[column] = qRgb(c.r, c.g, c.b);
    }
  }
  image_ = image;
  drawn_ = r.Region();
  scale_ = r.LargestMagnitude();
  reduction_.reset();
  viewport()->update();
  emit drawn();
  return true;
}

WeightRegion WeightMapView::Visible() const {
  const double sx = horizontalScrollBar()->value(), sy = verticalScrollBar()->value();
  const auto span = [this](double from, double length, int units) {
    const int first = std::clamp(static_cast<int>(std::floor(from / cell_)), 0, units);
    const int end = std::clamp(static_cast<int>(std::ceil((from + length) / cell_)), first, units);
    return std::pair(first, end - first);
  };
  const auto [firstInput, inputs] = span(sy, viewport()->height(), inputs_);
  const auto [firstOutput, outputs] = span(sx, viewport()->width(), outputs_);
  return {firstInput + 1, inputs, firstOutput + 1, outputs};
}

QRectF WeightMapView::UnitsRect(int input, int output, int inputs, int outputs) const {
  // A map smaller than the view stands in its middle.
  const double left = std::max(0.0, (viewport()->width() - outputs_ * cell_) / 2);
  const double top = std::max(0.0, (viewport()->height() - inputs_ * cell_) / 2);
  return QRectF(left + output * cell_ - horizontalScrollBar()->value(),
                top + input * cell_ - verticalScrollBar()->value(), outputs * cell_,
                inputs * cell_);
}

void WeightMapView::UpdateScrollBars() {
  const QSize room = viewport()->size();
  if (fit_ && inputs_ > 0 && outputs_ > 0)
    cell_ = std::min(static_cast<double>(room.width()) / outputs_,
                     static_cast<double>(room.height()) / inputs_);
  const auto set = [](QScrollBar* bar, double content, int view) {
    bar->setRange(0, std::max(0, static_cast<int>(std::ceil(content)) - view));
    bar->setPageStep(view);
    bar->setSingleStep(std::max(view / 10, 1));
  };
  set(horizontalScrollBar(), outputs_ * cell_, room.width());
  set(verticalScrollBar(), inputs_ * cell_, room.height());
}

void WeightMapView::SetCell(double cell, QPointF anchor) {
  if (inputs_ == 0 || outputs_ == 0) return;
  const double fitCell = std::min(static_cast<double>(viewport()->width()) / outputs_,
                                  static_cast<double>(viewport()->height()) / inputs_);
  const double wanted = std::clamp(cell, fitCell, std::max(kLargestCell, fitCell));
  const QPointF unit = (anchor - UnitsRect(0, 0, 0, 0).topLeft()) / cell_;
  fit_ = wanted <= fitCell;
  cell_ = wanted;
  UpdateScrollBars();
  // Where the map's corner stands unscrolled, then the scroll that keeps `unit` at `anchor`.
  const QPointF corner = UnitsRect(0, 0, 0, 0).topLeft() +
                         QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
  horizontalScrollBar()->setValue(
      static_cast<int>(std::lround(corner.x() + unit.x() * cell_ - anchor.x())));
  verticalScrollBar()->setValue(
      static_cast<int>(std::lround(corner.y() + unit.y() * cell_ - anchor.y())));
  Redraw();
  emit drawn();
}

void WeightMapView::ZoomBy(double factor) {
  const QRectF current = UnitsRect(current_.y(), current_.x(), 1, 1);
  const QPointF anchor = viewport()->rect().contains(current.center().toPoint())
                             ? current.center()
                             : QPointF(viewport()->rect().center());
  SetCell(cell_ * factor, anchor);
}

void WeightMapView::ZoomToFit() { SetCell(0, QPointF()); }

void WeightMapView::SetCurrent(int input, int output) {
  const QPoint wanted(std::clamp(output, 0, std::max(outputs_ - 1, 0)),
                      std::clamp(input, 0, std::max(inputs_ - 1, 0)));
  if (wanted == current_) return;
  current_ = wanted;
  // A zoomed map scrolls to keep the current cell in view.
  const QRectF cell = UnitsRect(current_.y(), current_.x(), 1, 1);
  const QRect view = viewport()->rect();
  if (cell.left() < 0 || cell.right() > view.width())
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                    static_cast<int>(cell.center().x() - view.width() / 2));
  if (cell.top() < 0 || cell.bottom() > view.height())
    verticalScrollBar()->setValue(verticalScrollBar()->value() +
                                  static_cast<int>(cell.center().y() - view.height() / 2));
  viewport()->update();
  emit currentChanged();
  AnnounceCurrentCell(this);
}

QString WeightMapView::CurrentWeightText() const {
  return inputs_ > 0 && outputs_ > 0 ? GridCellText(current_.y(), current_.x()) : QString();
}

QString WeightMapView::GridCellText(int row, int column) const {
  if (!state_) return {};
  return QString::fromStdString(
      FormatSigned2(state_->Connections.Weight(column + 1, row + 1), rs_));
}

QString WeightMapView::GridColumnHeader(int column) const {
  return QStringLiteral("Out %1").arg(column + 1);
}

QString WeightMapView::GridRowHeader(int row) const {
  return QStringLiteral("INP %1").arg(row + 1);
}

QRect WeightMapView::GridCellRect(int row, int column) const {
  const QRectF units =
      row < 0 || column < 0 ? QRectF(viewport()->rect()) : UnitsRect(row, column, 1, 1);
  return QRect(viewport()->mapTo(this, units.topLeft().toPoint()), units.size().toSize());
}

void WeightMapView::Paint(QPainter& painter, bool withFocus) {
  painter.fillRect(viewport()->rect(), palette().base());
  if (!image_.isNull())
    painter.drawImage(
        UnitsRect(drawn_.firstInput - 1, drawn_.firstOutput - 1, drawn_.inputs, drawn_.outputs),
        image_);
  if (cell_ >= kTextFromCell && !image_.isNull() && state_) PaintWeights(painter);
  if (cell_ >= kGridFromCell && !image_.isNull()) {
    painter.setPen(QColor(160, 160, 160));
    const QRectF all = UnitsRect(0, 0, inputs_, outputs_);
    for (int j = 0; j <= outputs_; ++j)
      painter.drawLine(QPointF(all.left() + j * cell_, all.top()),
                       QPointF(all.left() + j * cell_, all.bottom()));
    for (int i = 0; i <= inputs_; ++i)
      painter.drawLine(QPointF(all.left(), all.top() + i * cell_),
                       QPointF(all.right(), all.top() + i * cell_));
  }
  if (!withFocus || !hasFocus() || inputs_ == 0 || outputs_ == 0) return;
  // Outlined at least a few pixels wide, however small the cell is drawn.
  const QRectF cell = UnitsRect(current_.y(), current_.x(), 1, 1);
  const double half = std::max(cell.width(), 6.0) / 2 + 2;
  QPen outline(Qt::black, 2, Qt::DashLine);
  outline.setCosmetic(true);
  painter.setPen(outline);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(cell.center() - QPointF(half, half), QSizeF(2 * half, 2 * half)));
}

// Each drawn cell's weight as the report writes it, dark on light colours, light on dark.
void WeightMapView::PaintWeights(QPainter& painter) {
  for (int row = 0; row < drawn_.inputs; ++row) {
    for (int column = 0; column < drawn_.outputs; ++column) {
      const QRgb colour = image_.pixel(column, row);
      painter.setPen(qGray(colour) > 140 ? Qt::black : Qt::white);
      painter.drawText(
          UnitsRect(drawn_.firstInput - 1 + row, drawn_.firstOutput - 1 + column, 1, 1),
          Qt::AlignCenter,
          GridCellText(drawn_.firstInput - 1 + row, drawn_.firstOutput - 1 + column));
    }
  }
}

void WeightMapView::DrawPicture(QPainter& painter) { Paint(painter, false); }

void WeightMapView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  Paint(painter, true);
}

void WeightMapView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  Redraw();
}

void WeightMapView::scrollContentsBy(int, int) { Redraw(); }

void WeightMapView::keyPressEvent(QKeyEvent* event) {
  const bool corner = event->modifiers() & Qt::ControlModifier;
  const int page = std::max(1, static_cast<int>(viewport()->height() / std::max(cell_, 1.0)));
  const int input = current_.y(), output = current_.x();
  switch (event->key()) {
    case Qt::Key_Left:
      return SetCurrent(input, output - 1);
    case Qt::Key_Right:
      return SetCurrent(input, output + 1);
    case Qt::Key_Up:
      return SetCurrent(input - 1, output);
    case Qt::Key_Down:
      return SetCurrent(input + 1, output);
    case Qt::Key_PageUp:
      return SetCurrent(input - page, output);
    case Qt::Key_PageDown:
      return SetCurrent(input + page, output);
    case Qt::Key_Home:
      return SetCurrent(corner ? 0 : input, 0);
    case Qt::Key_End:
      return SetCurrent(corner ? inputs_ - 1 : input, outputs_ - 1);
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return ZoomBy(2);
    case Qt::Key_Minus:
      return ZoomBy(0.5);
    case Qt::Key_0:
      return ZoomToFit();
    case Qt::Key_F10:
      if (event->modifiers() == Qt::ShiftModifier)
        return emit contextMenuRequested(mapToGlobal(QPoint(8, 8)));
      break;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void WeightMapView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  // Wheel and mouse events come from the viewport, in its coordinates.
  if (steps != 0) SetCell(cell_ * std::pow(1.25, steps), event->position());
  event->accept();
}

void WeightMapView::mousePressEvent(QMouseEvent* event) {
  const QRectF map = UnitsRect(0, 0, inputs_, outputs_);
  const QPointF at = event->position() - map.topLeft();
  if (map.contains(event->position()))
    SetCurrent(static_cast<int>(at.y() / cell_), static_cast<int>(at.x() / cell_));
  QAbstractScrollArea::mousePressEvent(event);
}

void WeightMapView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
  // Qt tells screen readers of the view's own focus after this handler; the current cell is
  // told after that, or the view's focus would cover it.
  QTimer::singleShot(0, this, [this] { AnnounceCurrentCell(this); });
}

void WeightMapView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void WeightMapView::contextMenuEvent(QContextMenuEvent* event) {
  emit contextMenuRequested(
      event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(QPoint(8, 8)));
}

}  // namespace corvel
