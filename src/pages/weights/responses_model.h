#pragma once
// Every pattern's response as a table: a row per pattern with the pattern's number, the
// response, desired output and error of each output unit as the probe page prints them, and
// the pattern's SSE. The pattern of the largest SSE is marked as the worst.
//
// The responses are made in groups of patterns a slice of input units at a time (Work), the
// rows in view first, so that a large memory never freezes the page; a row not yet made reads
// "…", and one made for weights that have changed since shows its old values until it is
// made anew. Only the groups last shown are kept, with every pattern's SSE.

#include <QAbstractTableModel>
#include <chrono>
#include <list>
#include <optional>
#include <vector>

#include "learning/pattern_responses.h"
#include "report/formats.h"

namespace corvel {

class ResponsesModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ResponsesModel(QObject* parent = nullptr);

  // Shows the responses of `state` (nullptr: none). Call it again whenever its weights or
  // its training set change.
  void Show(const PublicStuff* state, const RegionalSettings& rs);
  // Rows first .. last (counted from 0) are in view: their groups are made first.
  void SetRowsInView(int first, int last);
  // Makes responses for about `slice`; true when every row is made for the current weights.
  bool Work(std::chrono::nanoseconds slice);
  bool NeedsWork() const;

  // The pattern of the largest SSE (counted from 1) and its SSE, once every row is made.
  std::optional<int> WorstPattern() const { return worst_; }
  double SSE(int pattern) const { return sse_[static_cast<std::size_t>(pattern - 1)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // The worst pattern is known, for the weights the table now shows.
  void worstFound();
  // A wish for more Work.
  void workNeeded();

 private:
  struct Group {
    int index;  // patterns index * groupSize_ + 1 onwards
    PatternResponses responses;
    bool current;  // made for the weights shown now
  };
  int Groups() const;
  const Group* Find(int group) const;
  // The next group to make: one in view first, then one whose SSEs are unknown.
  std::optional<int> NextGroup() const;
  void Finish(Group group);

  const PublicStuff* state_ = nullptr;
  RegionalSettings rs_;
  int patterns_ = 0, outputs_ = 0, groupSize_ = 1;
  int firstInView_ = 0, lastInView_ = 0;
  std::list<Group> kept_;  // most recently made first
  std::optional<Group> making_;
  std::vector<double> sse_;  // every pattern's, for the weights shown now
  std::vector<bool> sseKnown_;
  int sseMissing_ = 0;
  std::optional<int> worst_;
};

}  // namespace corvel
