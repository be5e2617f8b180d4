#pragma once
// The SSE history as the chart shows it and as its data file holds it.

#include <string>
#include <vector>

#include "state/public_stuff.h"

namespace corvel {

struct SSEPoint {
  double Sweep;
  double SSE;
  friend bool operator==(const SSEPoint&, const SSEPoint&) = default;
};

// The shortest text that reads back to the same double (at most 17 significant digits), with
// "." as the decimal point, appended to `out`: 2.5 -> "2.5", 0.1 -> "0.1", 1e-300 -> "1e-300".
void AppendShortest(std::string& out, double value);

// Rows 1..SSEHistoryCount of the history, in order (never more than the table's 2000 rows).
std::vector<SSEPoint> SSEHistoryPoints(const PublicStuff& s);

// The history as comma-separated values for a spreadsheet: the header "Sweep,SSE", then one
// row per point, each number as AppendShortest writes it; lines end LF.
//   {{0, 2.5}, {10, 0.1}} -> "Sweep,SSE\n0,2.5\n10,0.1\n"
std::string SSEHistoryCsv(const std::vector<SSEPoint>& points);

}  // namespace corvel
