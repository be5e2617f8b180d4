#include "report/results_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "learning/engine.h"

namespace corvel {
namespace {

// Two inputs, two outputs, orthonormal input patterns, trained with the Hebb rule at rate 1
// for two sweeps and a printout every sweep. After sweep 1 every weight column equals its
// pattern's desired output (SSE 0); sweep 2 doubles the columns one pattern at a time.
PublicStuff TrainedMemory() {
  PublicStuff s;
  s.TrainingFileName = "two.net";
  s.NumInputUnits = 2;
  s.NumOutputUnits = 2;
  s.NumPatterns = 2;
  s.InputPatterns = Array2D<double>(2, 2);
  s.DesiredOutputs = Array2D<double>(2, 2);
  s.InputPatterns(1, 1) = 1;
  s.InputPatterns(2, 2) = 1;
  s.DesiredOutputs(1, 1) = 0.5;
  s.DesiredOutputs(2, 1) = -0.25;
  s.DesiredOutputs(1, 2) = 1.5;
  s.DesiredOutputs(2, 2) = 2;
  s.AllocateNetwork();
  s.LearningRule = "Hebb";
  s.LearningRate = 1;
  s.NewRun = 1;
  s.StopAtMaxSweeps = 1;
  s.MaxSweeps = 2;
  s.PrintSweeps = 1;
  TrainingObserver quiet;
  EXPECT_FALSE(RunTraining(s, quiet));
  return s;
}

const LocalDateTime kWhen{2026, 12, 4, 14, 20, 35};

// The whole report with every section, byte for byte; the sections stand in the file's order
// (general first, inputs fifth) although the boxes number them otherwise. The header alone
// and the default choice are its beginnings.
TEST(ResultsReportText, WholeReports) {
  std::ifstream file(CORVEL_TEST_DATA_DIR "/two_all_sections.txt", std::ios::binary);
  const std::string all(std::istreambuf_iterator<char>(file), {});
  ASSERT_FALSE(all.empty());
  PublicStuff s = TrainedMemory();
  ReportSections every;
  every.fill(true);
  EXPECT_EQ(ResultsReportText(s, every, kWhen, {}), all);
  EXPECT_EQ(ResultsReportText(s, ReportSections{}, kWhen, {}), all.substr(0, all.find("Learning")));
  EXPECT_EQ(ResultsReportText(s, kDefaultReportSections, kWhen, {}),
            all.substr(0, all.find("The set of input patterns")));
}

TEST(ResultsReportText, LongTablesAndTheirSideEffects) {
  PublicStuff s = TrainedMemory();
  // Twelve patterns: numbers are not padded. The memory keeps its trained weights.
  s.NumPatterns = 12;
  s.InputPatterns = Array2D<double>(2, 12);
  s.DesiredOutputs = Array2D<double>(2, 12);
  for (int p = 1; p <= 12; ++p) s.InputPatterns(1, p) = p;
  s.SSEHistoryCount = 3;
  s.SSEHistory[3][1] = 1000;
  ReportSections sections{};
  sections[kResponsesSection] = true;
  sections[kSSEHistorySection] = true;
  const std::string text = ResultsReportText(s, sections, kWhen, RegionalSettings{});
  EXPECT_NE(text.find("\r\r\nPattern 9\t+9.00\t-4.50\t\r\r\nPattern 10\t+10.00\t-5.00\t\r\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\n1,000.00\t6.56E+00\r\n"), std::string::npos);
  // The output units hold the response to the last pattern presented.
  EXPECT_EQ(s.OutputUnits[1].Activation, 12.0);
  EXPECT_EQ(s.OutputUnits[2].Error, 6.0);
}

}  // namespace
}  // namespace corvel
