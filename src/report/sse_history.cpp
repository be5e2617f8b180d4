#include "report/sse_history.h"

#include <algorithm>
#include <charconv>

namespace corvel {

void AppendShortest(std::string& out, double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  out.append(text, end);
}

std::vector<SSEPoint> SSEHistoryPoints(const PublicStuff& s) {
  const int rows = std::clamp<int>(s.SSEHistoryCount, 0, kSSEHistoryRows);
  std::vector<SSEPoint> points;
  points.reserve(static_cast<std::size_t>(rows));
  for (int r = 1; r <= rows; ++r) points.push_back({s.SSEHistory[r][1], s.SSEHistory[r][2]});
  return points;
}

std::string SSEHistoryCsv(const std::vector<SSEPoint>& points) {
  std::string out = "Sweep,SSE\n";
  for (const SSEPoint& point : points) {
    AppendShortest(out, point.Sweep);
    out += ',';
    AppendShortest(out, point.SSE);
    out += '\n';
  }
  return out;
}

}  // namespace corvel
