// The SSE history as rows and as a data file for spreadsheets.
#include "report/sse_history.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace corvel {
namespace {

TEST(SSEHistory, PointsAreTheUsedRowsInOrder) {
  PublicStuff s;
  s.SSEHistoryCount = 3;
  for (int r = 1; r <= 4; ++r) s.SSEHistory[r] = {0, 10.0 * (r - 1), 1.0 / r};
  EXPECT_EQ(SSEHistoryPoints(s), (std::vector<SSEPoint>{{0, 1}, {10, 0.5}, {20, 1.0 / 3}}));
  s.SSEHistoryCount = 0;
  EXPECT_TRUE(SSEHistoryPoints(s).empty());
}

TEST(SSEHistory, CsvReadsBackToTheSameDoubles) {
  const std::vector<SSEPoint> points = {{0, 2.5}, {10, 0.1}, {1000, 1.0 / 3}, {2000, 1e-300}};
  const std::string csv = SSEHistoryCsv(points);
  EXPECT_EQ(csv, "Sweep,SSE\n0,2.5\n10,0.1\n1000,0.3333333333333333\n2000,1e-300\n");
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  for (const SSEPoint& point : points) {
    ASSERT_TRUE(std::getline(lines, line));
    const auto comma = line.find(',');
    EXPECT_EQ(std::strtod(line.substr(0, comma).c_str(), nullptr), point.Sweep);
    EXPECT_EQ(std::strtod(line.substr(comma + 1).c_str(), nullptr), point.SSE);
  }
}

}  // namespace
}  // namespace corvel
