// The results report as bytes and as a file and the SSE history file, over one small trained
// memory; and every number, date and time format. The probe page's block is pinned by the tour,
// which builds it from the report's sections.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include "learning/engine.h"
#include "report/failure_text.h"
#include "report/formats.h"
#include "report/network_csv.h"
#include "report/probe_text.h"
#include "report/replace_file.h"
#include "report/results_report.h"
#include "report/sse_axis.h"
#include "report/sse_history.h"
#include "report/weight_map.h"
#include "trainingset/loader.h"

namespace corvel {
namespace fs = std::filesystem;
namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Two inputs, two outputs, orthonormal input patterns, trained with the Hebb rule at rate 1
// for two sweeps and a printout every sweep. After sweep 1 every weight column equals its
// pattern's desired output (SSE 0); sweep 2 doubles the columns one pattern at a time.
PublicStuff TrainedMemory() {
  PublicStuff s;
  s.TrainingFileName = "two.net";
  EXPECT_FALSE(LoadTrainingText(s, "2 0 2 2\n1 0\n0 1\n0.5 -0.25\n1.5 2\n", "two.net"));
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

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("report_test_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  // The names in the directory: a failed or finished write leaves no temporary file behind.
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  PublicStuff s_ = TrainedMemory();
  fs::path dir_;
};

// The whole report with every section, byte for byte (corvel-duvu-batch's test writes it); the
// sections stand in the file's order (general first, inputs fifth) although the boxes number
// them otherwise. The header alone, the responses alone and the default choice are its parts.
TEST_F(Report, WholeReports) {
  const std::string all = ReadBytes(CORVEL_TEST_DATA_DIR "/two_all_sections.txt");
  ASSERT_FALSE(all.empty());
  const std::string header = all.substr(0, all.find("Learning"));
  const std::size_t from = all.find("Network Responses"), to = all.find("After training");
  ReportSections responses{};
  responses[kResponsesSection] = true;
  EXPECT_EQ(ResultsReportText(s_, responses, kWhen, {}), header + all.substr(from, to - from));
  // The output units hold the response to the last pattern presented.
  EXPECT_EQ(s_.OutputUnits[1].Activation, 3.0);
  ReportSections every;
  every.fill(true);
  EXPECT_EQ(ResultsReportText(s_, every, kWhen, {}), all);
  EXPECT_EQ(ResultsReportText(s_, ReportSections{}, kWhen, {}), header);
  EXPECT_EQ(ResultsReportText(s_, kDefaultReportSections, kWhen, {}),
            all.substr(0, all.find("The set of input patterns")));
}

// A report of more than a megabyte goes to its file in pieces, each once and in order: the
// file holds the bytes of the text, with the heading row and every input's row whole.
TEST_F(Report, LargeReportsArriveWhole) {
  constexpr int kUnits = 500;
  PublicStuff s;
  s.NumInputUnits = s.NumOutputUnits = kUnits;
  s.AllocateNetwork();
  for (int i = 1; i <= kUnits; ++i)
    for (int j = 1; j <= kUnits; ++j) s.Connections.Weight(j, i) = (i * 7 + j) % 13 - 6.25;
  ReportSections weights{};
  weights[kWeightsSection] = true;
  ASSERT_FALSE(WriteResultsReport(s, dir_ / "large.txt", weights, kWhen, {}));
  const std::string file = ReadBytes(dir_ / "large.txt");
  EXPECT_GT(file.size(), std::size_t{1} << 20);
  EXPECT_EQ(file, ResultsReportText(s, weights, kWhen, {}));
  EXPECT_EQ(std::count(file.begin(), file.end(), '\t'), (kUnits + 1) * (kUnits + 1));
  const std::string lastRow = file.substr(file.find("INP 500\t"));
  EXPECT_EQ(std::count(lastRow.begin(), lastRow.end(), '\t'), kUnits + 1);
}

// A symbolic link stays a link to the replaced file; a pipe is written in place, not
// replaced by a renamed file; a device that is full says so.
TEST_F(Report, LinksAreFollowedAndPipesWrittenInPlace) {
#ifdef __EMSCRIPTEN__
  GTEST_SKIP() << "the WebAssembly build has no thread to read the pipe with, nor pipes";
#endif
  const fs::path target = dir_ / "results.txt", link = dir_ / "link.txt";
  WriteBytes(target, "earlier report");
  fs::create_symlink(target, link);
  ASSERT_FALSE(ReplaceFile(link, "new report"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(target), "new report");

  const fs::path fifo = dir_ / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadBytes(fifo); });
  const auto error = ReplaceFile(fifo, "through the pipe");
  reader.join();
  EXPECT_FALSE(error);
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(EntryCount(), 3u);
  EXPECT_EQ(WriteResultsReport(s_, "/dev/full", ReportSections{}, kWhen, {})->Reason,
            std::strerror(ENOSPC));
}

// Runs `write` as an ordinary user ("nobody") in a child process when the tests run as root,
// who may write anywhere; true when it succeeded.
bool AsOrdinaryUser(const std::function<bool()>& write) {
  if (geteuid() != 0) return write();
  constexpr uid_t kNobody = 65534;
  const pid_t child = fork();
  if (child == 0) _exit(setgid(kNobody) == 0 && setuid(kNobody) == 0 && write() ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Saving over a file keeps it what it was: its permissions and group, every one of its names,
// and its owner when the process may not give a new file that owner; a folder that takes no
// new files still lets a writable file in it be saved over. A file the user may not write is
// refused and kept.
TEST_F(Report, SavingOverAFileKeepsItWhatItWas) {
#ifdef __EMSCRIPTEN__
  GTEST_SKIP() << "the WebAssembly build has no other users, groups or child processes";
#endif
  const fs::path file = dir_ / "private.txt";
  WriteBytes(file, "earlier report");
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  const gid_t otherGroup = geteuid() == 0 ? 4242 : getegid();
  ASSERT_EQ(chown(file.c_str(), -1, otherGroup), 0);
  ASSERT_FALSE(ReplaceFile(file, "new report"));
  struct stat saved {};
  ASSERT_EQ(stat(file.c_str(), &saved), 0);
  EXPECT_EQ(saved.st_mode & 07777, 0640u);
  EXPECT_EQ(saved.st_gid, otherGroup);
  EXPECT_EQ(ReadBytes(file), "new report");

  const fs::path second = dir_ / "second-name.txt";
  fs::create_hard_link(file, second);
  ASSERT_FALSE(ReplaceFile(file, "newer report"));
  EXPECT_EQ(ReadBytes(second), "newer report");
  EXPECT_EQ(fs::hard_link_count(file), 2u);

  const fs::path closed = dir_ / "closed", shared = closed / "shared.txt";
  fs::create_directory(closed);
  WriteBytes(shared, "earlier report");
  ASSERT_EQ(chmod(shared.c_str(), 0666), 0);
  ASSERT_EQ(chmod(closed.c_str(), 0555), 0);
  EXPECT_TRUE(AsOrdinaryUser([&] { return !ReplaceFile(shared, "new report"); }));
  EXPECT_EQ(ReadBytes(shared), "new report");
  const fs::path readOnly = dir_ / "read-only.txt";
  WriteBytes(readOnly, "earlier report");
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);
  EXPECT_TRUE(AsOrdinaryUser([&] {
    const auto error = ReplaceFile(readOnly, "new report");
    return error && error->Reason == std::strerror(EACCES);
  }));
  EXPECT_EQ(ReadBytes(readOnly), "earlier report");
  if (geteuid() == 0) {
    // Root's file in a folder open to all: nobody may write it but not own a new one.
    ASSERT_EQ(chmod(closed.c_str(), 0777), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] { return !ReplaceFile(shared, "nobody's report"); }));
    ASSERT_EQ(stat(shared.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_uid, 0u);
    EXPECT_EQ(ReadBytes(shared), "nobody's report");
  }
  ASSERT_EQ(chmod(closed.c_str(), 0755), 0);
  EXPECT_EQ(EntryCount(), 4u);  // no temporary file left behind
}

// Full precision, so that a spreadsheet reads back the same doubles; plain or with an
// exponent, whichever is shorter.
TEST(SSEHistoryCsv, ShortestTextThatReadsBack) {
  EXPECT_EQ(
      SSEHistoryCsv(
          {{0, 2.5}, {10, 0.1}, {1000, 1.0 / 3}, {2000, 1e-300}, {1e10, 0.001}, {0x1p64, 0.0001}}),
      "Sweep,SSE\n0,2.5\n10,0.1\n1000,0.3333333333333333\n2000,1e-300\n1e+10,0.001\n"
      "18446744073709551616,1e-04\n");
}

std::string Collected(const std::function<bool(const ByteSink&)>& write) {
  std::string text;
  EXPECT_TRUE(write([&text](std::string_view piece) {
    text += piece;
    return true;
  }));
  return text;
}

// The weights as the report's section lays them out, and every pattern's response, desired
// output, error and SSE as presenting it makes them; each number reads back to its double.
TEST_F(Report, NetworkAsCommaSeparatedValues) {
  s_.Connections.Weight(2, 1) = 0.1;
  EXPECT_EQ(Collected([this](const ByteSink& sink) { return WriteWeightsCsv(s_, sink); }),
            ",Out 1,Out 2\nINP 1,1,0.1\nINP 2,3,4\n");
  const std::string responses =
      Collected([this](const ByteSink& sink) { return WriteResponsesCsv(s_, sink); });
  std::istringstream rows(responses);
  std::string row;
  std::getline(rows, row);
  EXPECT_EQ(row, "Pattern,Response 1,Response 2,Desired 1,Desired 2,Error 1,Error 2,SSE");
  for (int p = 1; p <= 2; ++p) {
    std::getline(rows, row);
    ComputeResponse(s_, p);
    std::vector<double> cells;
    std::istringstream fields(row);
    for (std::string field; std::getline(fields, field, ',');) cells.push_back(std::stod(field));
    const std::vector<double> expected = {
        static_cast<double>(p),       s_.OutputUnits[1].Activation,
        s_.OutputUnits[2].Activation, s_.DesiredOutputs(1, p),
        s_.DesiredOutputs(2, p),      s_.OutputUnits[1].Error,
        s_.OutputUnits[2].Error,      PatternSSE(s_)};
    EXPECT_EQ(cells, expected) << row;
  }
}

// White at zero, the deepest colours at the scale and beyond, grey for not a number; a map
// reduced in slices shows each block's weight of largest magnitude, sign and all.
TEST(WeightMap, ColoursAndReduction) {
  EXPECT_EQ(WeightColour(0, 2), (Rgb{255, 255, 255}));
  EXPECT_EQ(WeightColour(-2, 2), WeightColour(-5, 2));
  EXPECT_EQ(WeightColour(2, 2), (Rgb{165, 15, 45}));
  EXPECT_LT(WeightColour(-1, 2).r, WeightColour(-0.5, 2).r);  // deeper blue further out
  EXPECT_EQ(WeightColour(std::nan(""), 2), (Rgb{128, 128, 128}));
  const RegionalSettings rs;
  // The key's text turns scientific outside 0.01 .. a million.
  EXPECT_EQ(WeightScaleText(0.01, rs), "0.01");
  EXPECT_EQ(WeightScaleText(0.001, rs), "1.00E-03");
  EXPECT_EQ(WeightScaleText(2.5e7, rs), "2.50E+07");

  Array2D<double> weights(6, 4);  // 6 outputs, 4 inputs
  weights(5, 4) = -3;
  weights(6, 4) = 2;
  weights(2, 1) = 0.5;
  WeightMapReduction map(weights, {1, 4, 1, 6}, 2, 3);
  EXPECT_FALSE(map.Step(6));  // one input unit
  EXPECT_TRUE(map.Step(100));
  EXPECT_EQ(map.Cell(0, 0), 0.5);
  EXPECT_EQ(map.Cell(1, 2), -3);
  EXPECT_EQ(map.LargestMagnitude(), 3);
  WeightMapReduction corner(weights, {4, 1, 5, 2}, 5, 5);  // one cell per unit at most
  corner.Step(10);
  EXPECT_EQ(std::pair(corner.Rows(), corner.Columns()), std::pair(1, 2));
  EXPECT_EQ(corner.Cell(0, 1), 2);
}

std::vector<std::string> Labels(const SSEAxis& axis) {
  std::vector<std::string> labels;
  for (const SSEAxisTick& tick : axis.Ticks) labels.push_back(tick.Label);
  return labels;
}

// Tick labels stay short at every magnitude: grouped digits below a million, the Scientific
// format above (a Hebb run that blows up), powers of ten on the logarithmic scale, where a
// Delta run's zero stands at the foot.
TEST(SSEAxis, ShortLabelsAtEveryMagnitude) {
  using Strings = std::vector<std::string>;
  RegionalSettings de;
  de.DecimalSeparator = ",";
  de.ThousandsSeparator = ".";
  EXPECT_EQ(Labels(LinearSSEAxis({1234.5, 10}, 9, {})),
            (Strings{"0", "200", "400", "600", "800", "1,000", "1,200", "1,400"}));
  EXPECT_EQ(Labels(LinearSSEAxis({0.24, 0}, 6, de)),
            (Strings{"0", "0,05", "0,10", "0,15", "0,20", "0,25"}));
  const SSEAxis blowUp = LinearSSEAxis({4, 2e27}, 9, {});
  EXPECT_EQ(Labels(blowUp), (Strings{"0", "5.00E+26", "1.00E+27", "1.50E+27", "2.00E+27"}));
  EXPECT_EQ(blowUp.BarHeight(1e27), 1e27);
  EXPECT_EQ(Labels(LinearSSEAxis({}, 3, {})), (Strings{"0", "0.5", "1.0"}));

  const SSEAxis delta = LogarithmicSSEAxis({4, 0.24, 2e-6, 0}, 9, {});
  EXPECT_EQ(delta.FootExponent, -6);
  EXPECT_EQ(delta.Top, 7);
  EXPECT_EQ(Labels(delta),
            (Strings{"1E-06", "1E-05", "1E-04", "1E-03", "1E-02", "1E-01", "1E+00", "1E+01"}));
  EXPECT_EQ(delta.BarHeight(0), 0);
  EXPECT_NEAR(delta.BarHeight(4), 6 + std::log10(4.0), 1e-12);
  EXPECT_EQ(Labels(LogarithmicSSEAxis({0.05, 1500}, 9, de)),
            (Strings{"0,01", "0,1", "1", "10", "100", "1.000", "10.000"}));
  const SSEAxis wide = LogarithmicSSEAxis({1e-300, 1e300}, 9, {});
  EXPECT_EQ(wide.Ticks.size(), 7u);  // every 100 decades
  EXPECT_EQ(wide.Ticks.back(), (SSEAxisTick{600, "1E+300"}));
}

std::string Format(const std::string& kind, const std::string& input, const std::string& settings) {
  RegionalSettings rs;  // "en": the defaults
  if (settings == "de") {
    rs.DecimalSeparator = ",";
    rs.ThousandsSeparator = ".";
    rs.ShortDatePattern = "dd.MM.yyyy";
    rs.LongTimePattern = "HH:mm:ss";
  } else if (settings != "en") {
    (kind == "date" ? rs.ShortDatePattern : rs.LongTimePattern) = settings;
  }
  const double value = std::strtod(input.c_str(), nullptr);
  LocalDateTime when;
  std::sscanf(input.c_str(), "%d-%d-%d %d:%d:%d", &when.Year, &when.Month, &when.Day, &when.Hour,
              &when.Minute, &when.Second);
  if (kind == "signed2") return FormatSigned2(value, rs);
  if (kind == "whole") return FormatWhole(value);
  if (kind == "standard") return FormatStandard(value, rs);
  if (kind == "scientific") return FormatScientific(value, rs);
  if (kind == "general") return GeneralNumberText(value, rs);
  if (kind == "integer") return IntegerText(std::stoll(input));
  if (kind == "date") return DateText(when, rs);
  if (kind == "time") return TimeText(when, rs);
  if (kind == "pattern") {
    const std::optional<int> number = PatternNumber(input, std::stoi(settings));
    return number ? std::to_string(*number) : "";
  }
  ADD_FAILURE() << "unknown format " << kind;
  return {};
}

// Every number, date and time format and the pattern numbers the probe page takes, as input
// -> exact output pairs from data/formats.tsv.
TEST(Formats, ExactTextsFromTheTable) {
  std::ifstream table(CORVEL_TEST_DATA_DIR "/formats.tsv");
  ASSERT_TRUE(table);
  std::string line;
  int rows = 0;
  while (std::getline(table, line)) {
    if (line.starts_with('#')) continue;
    std::istringstream fields(line);
    std::string kind, settings, input, expected;
    std::getline(fields, kind, '\t');
    std::getline(fields, settings, '\t');
    std::getline(fields, input, '\t');
    std::getline(fields, expected);
    EXPECT_EQ(Format(kind, input, settings), expected) << line;
    ++rows;
  }
  EXPECT_EQ(rows, 100);
}

// The out-of-memory text; the others reach the user through corvel-duvu-batch's own test.
TEST(Formats, OutOfMemoryFailureText) {
  EXPECT_EQ(FailureReportText(7, "Out of memory"),
            "Out of memory error: \rPlease try closing some applications and retrying.\r");
}

}  // namespace
}  // namespace corvel
