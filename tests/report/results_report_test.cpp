#include "report/results_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "learning/engine.h"

namespace corvel {
namespace {

constexpr const char* kEquals = "=============================================\r\r\n";
constexpr const char* kDashes = "---------------\r\r\n";

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

std::string Header() {
  return std::string("Distributed Associative Memory Program\r\r\n") + kEquals + "\r\r\n" +
         "Results Of Training With File: two.net\r\r\n"
         "Date Of Analysis: 12/4/2026\r\r\n"
         "Time Of Analysis: 2:20:35 PM\r\r\n" +
         kEquals;
}

std::string FirstFourSections() {
  return std::string("Learning rule: Hebb\r\r\n") +
         "Learning rate: 1\r\r\n"
         "Training completed after 2 epochs\r\r\n" +
         kEquals + "Network Responses To Each Input Pattern:\r\r\n" + kDashes +
         "Pattern 1\t+1.00\t-.50\t\r\r\n"
         "Pattern 2\t+3.00\t+4.00\t\r\r\n" +
         kEquals +
         "After training, sum of squared error was: 6.5625\r\r\n"
         "Network Response Errors To Each Input Pattern:\r\r\n" +
         kDashes +
         "Pattern 1\t-.50\t+.25\t\r\r\n"
         "Pattern 2\t-1.50\t-2.00\t\r\r\n" +
         kEquals + "Connection weights from input units (rows) to output units (columns):\r\r\n" +
         kDashes +
         "\tOut 1\tOut 2\t\r\r\n"
         "INP 1\t+1.00\t-.50\t\r\r\n"
         "INP 2\t+3.00\t+4.00\t\r\r\n" +
         kEquals;
}

std::string LastThreeSections() {
  return std::string("The set of input patterns was:\r\r\n") + kDashes +
         "Pattern 1\t+1.00\t+.00\t\r\r\n"
         "Pattern 2\t+.00\t+1.00\t\r\r\n" +
         kEquals + "The set of desired outputs was:\r\r\n" + kDashes +
         "Pattern 1\t+.50\t-.25\t\r\r\n"
         "Pattern 2\t+1.50\t+2.00\t\r\r\n" +
         kEquals + "Network SSE as a function of sweeps of training was:\r\r\n" + kDashes +
         "Sweeps\tNetwork SSE\r\r\n"
         "0.00\t6.56E+00\r\n"
         "1.00\t0.00E+00\r\n"
         "2.00\t6.56E+00\r\n" +
         kEquals;
}

TEST(ResultsReportText, WholeReports) {
  PublicStuff s = TrainedMemory();
  const RegionalSettings english;
  EXPECT_EQ(ResultsReportText(s, ReportSections{}, kWhen, english), Header());
  EXPECT_EQ(ResultsReportText(s, kDefaultReportSections, kWhen, english),
            Header() + FirstFourSections());
  ReportSections all;
  all.fill(true);
  EXPECT_EQ(ResultsReportText(s, all, kWhen, english),
            Header() + FirstFourSections() + LastThreeSections());
}

TEST(ResultsReportText, SectionsFollowTheFileOrderNotTheBoxOrder) {
  PublicStuff s = TrainedMemory();
  ReportSections sseAndInputs{};
  sseAndInputs[kSSEHistorySection] = true;
  sseAndInputs[kInputPatternsSection] = true;
  const std::string text = ResultsReportText(s, sseAndInputs, kWhen, RegionalSettings{});
  EXPECT_LT(text.find("The set of input patterns was:"), text.find("Network SSE as a function"));
  EXPECT_EQ(text.find("The set of desired outputs was:"), std::string::npos);
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
