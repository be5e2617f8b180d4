#include "pages/weights/responses_model.h"

#include <QColor>
#include <algorithm>

#include "state/public_stuff.h"

namespace corvel {
namespace {

// Net inputs a group holds, and all the groups kept together: enough for every row of a small
// memory, a few screens of a large one.
constexpr std::size_t kGroupDoubles = std::size_t{1} << 18;
constexpr std::size_t kKeptDoubles = std::size_t{1} << 22;
// Multiply-adds between two looks at the clock.
constexpr std::size_t kStepProducts = std::size_t{1} << 18;

const QString kNotYet = QStringLiteral("…");

}  // namespace

ResponsesModel::ResponsesModel(QObject* parent) : QAbstractTableModel(parent) {}

void ResponsesModel::Show(const PublicStuff* state, const RegionalSettings& rs) {
  const bool ready = state && state->NetworkFitsTrainingSet();
  const int patterns = ready ? state->NumPatterns : 0;
  const int outputs = ready ? state->NumOutputUnits : 0;
  making_.reset();
  if (patterns != patterns_ || outputs != outputs_ || !ready) {
    beginResetModel();
    kept_.clear();
    worst_.reset();
    patterns_ = patterns;
    outputs_ = outputs;
    endResetModel();
  }
  // Rows made for the old weights show until they are made anew.
  for (Group& group : kept_) group.current = false;
  state_ = ready ? state : nullptr;
  rs_ = rs;
  groupSize_ = static_cast<int>(
      std::clamp<std::size_t>(kGroupDoubles / static_cast<std::size_t>(std::max(outputs_, 1)), 1,
                              static_cast<std::size_t>(std::max(patterns_, 1))));
  sse_.assign(static_cast<std::size_t>(patterns_), 0.0);
  sseKnown_.assign(static_cast<std::size_t>(patterns_), false);
  sseMissing_ = patterns_;
  if (NeedsWork()) emit workNeeded();
}

void ResponsesModel::SetRowsInView(int first, int last) {
  firstInView_ = std::max(first, 0);
  lastInView_ = std::max(last, firstInView_);
  if (NeedsWork()) emit workNeeded();
}

int ResponsesModel::Groups() const { return (patterns_ + groupSize_ - 1) / groupSize_; }

const ResponsesModel::Group* ResponsesModel::Find(int group) const {
  for (const Group& kept : kept_)
    if (kept.index == group) return &kept;
  return nullptr;
}

std::optional<int> ResponsesModel::NextGroup() const {
  if (!state_) return std::nullopt;
  const int last = std::min(lastInView_ / groupSize_, Groups() - 1);
  for (int g = firstInView_ / groupSize_; g <= last; ++g) {
    const Group* kept = Find(g);
    if (!kept || !kept->current) return g;
  }
  const auto unknown = std::find(sseKnown_.begin(), sseKnown_.end(), false);
  if (unknown == sseKnown_.end()) return std::nullopt;
  return static_cast<int>(unknown - sseKnown_.begin()) / groupSize_;
}

bool ResponsesModel::NeedsWork() const { return making_.has_value() || NextGroup().has_value(); }

bool ResponsesModel::Work(std::chrono::nanoseconds slice) {
  // A network made afresh since Show must not be read with the old counts.
  if (state_ && (!state_->NetworkFitsTrainingSet() || state_->NumPatterns != patterns_ ||
                 state_->NumOutputUnits != outputs_))
    Show(state_, rs_);
  const auto end = std::chrono::steady_clock::now() + slice;
  while (std::chrono::steady_clock::now() < end) {
    if (!making_) {
      const std::optional<int> next = NextGroup();
      if (!next) break;
      const int first = *next * groupSize_ + 1;
      making_.emplace(Group{
          *next, PatternResponses(*state_, first, std::min(groupSize_, patterns_ - first + 1)),
          true});
    }
    const std::size_t perInput = static_cast<std::size_t>(making_->responses.Count()) *
                                 static_cast<std::size_t>(std::max(outputs_, 1));
    if (making_->responses.AddInputs(
            static_cast<int>(std::max<std::size_t>(kStepProducts / perInput, 1)))) {
      Group made = std::move(*making_);
      making_.reset();
      Finish(std::move(made));
    }
  }
  return !NeedsWork();
}

void ResponsesModel::Finish(Group group) {
  const PatternResponses& r = group.responses;
  for (int p = r.First(); p < r.First() + r.Count(); ++p) {
    sse_[static_cast<std::size_t>(p - 1)] = r.SSE(p);
    if (!sseKnown_[static_cast<std::size_t>(p - 1)]) {
      sseKnown_[static_cast<std::size_t>(p - 1)] = true;
      --sseMissing_;
    }
  }
  const QModelIndex from = index(r.First() - 1, 0),
                    to = index(r.First() + r.Count() - 2, columnCount() - 1);
  kept_.remove_if([&group](const Group& kept) { return kept.index == group.index; });
  kept_.push_front(std::move(group));
  const std::size_t perGroup =
      static_cast<std::size_t>(groupSize_) * static_cast<std::size_t>(std::max(outputs_, 1));
  while (kept_.size() > 1 && kept_.size() * perGroup > kKeptDoubles) kept_.pop_back();
  emit dataChanged(from, to);

  if (sseMissing_ > 0) return;
  const int worst = static_cast<int>(std::max_element(sse_.begin(), sse_.end()) - sse_.begin()) + 1;
  const std::optional<int> before = worst_;
  worst_ = worst;
  for (const std::optional<int>& row : {before, worst_})
    if (row) emit dataChanged(index(*row - 1, 0), index(*row - 1, columnCount() - 1));
  emit worstFound();
}

int ResponsesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : patterns_;
}

int ResponsesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || patterns_ == 0 ? 0 : 3 * outputs_ + 2;
}

QVariant ResponsesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int p = index.row() + 1, c = index.column();
  const bool worst = worst_ == p;
  if (role == Qt::BackgroundRole) return worst ? QVariant(QColor(255, 226, 160)) : QVariant();
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                      : Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  if (c == 0) return worst ? QStringLiteral("%1 (worst)").arg(p) : QString::number(p);
  const int m = outputs_;
  if (c > m && c <= 2 * m)
    return QString::fromStdString(FormatSigned2(state_->DesiredOutputs(c - m, p), rs_));
  const Group* group = Find(index.row() / groupSize_);
  if (!group) return kNotYet;
  const PatternResponses& r = group->responses;
  if (c <= m) return QString::fromStdString(FormatSigned2(r.Response(p, c), rs_));
  if (c <= 3 * m) return QString::fromStdString(FormatSigned2(r.Error(p, c - 2 * m), rs_));
  return QString::fromStdString(GeneralNumberText(r.SSE(p), rs_));
}

QVariant ResponsesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const int m = outputs_;
  if (section == 0) return QStringLiteral("Pattern");
  if (section <= m) return QStringLiteral("Response %1").arg(section);
  if (section <= 2 * m) return QStringLiteral("Desired %1").arg(section - m);
  if (section <= 3 * m) return QStringLiteral("Error %1").arg(section - 2 * m);
  return QStringLiteral("SSE");
}

}  // namespace corvel
