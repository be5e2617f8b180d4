#include <sys/resource.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "report/formats.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
namespace {

const std::string kData = CORVEL_TEST_DATA_DIR;
// two.net: inputs (1, 0) and (0, 1), desired outputs (0.5, -0.25) and (1.5, 2).
const std::string kTwo = kData + "/two.net";
const std::string kEquals = "=============================================\r\r\n";

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class Batch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("batch_test_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program with `args` in an environment of only UTC and `env`: by default the
  // report dated 2026-12-04 14:20:35 and, with no locale named, the C locale.
  Outcome Run(const std::vector<std::string>& args,
              const std::vector<std::string>& env = {"SOURCE_DATE_EPOCH=1796394035"}) {
    std::string command = "env -i TZ=UTC";
    for (const std::string& e : env) command += " '" + e + "'";
    command += " '" CORVEL_BATCH_PROGRAM "'";
    for (const std::string& a : args) command += " '" + a + "'";
    const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
    command += " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
  }

  std::string Report() const { return (dir_ / "report.txt").string(); }
  // A training file of `units` inputs and as many outputs, -0.75 to 0.75 in steps of 0.25.
  fs::path LargeSet(int units, int patterns) const {
    const fs::path set = dir_ / "large.net";
    std::ofstream file(set);
    file << units << " 0 " << units << ' ' << patterns << '\n';
    for (int value = 0; value < patterns * 2 * units; ++value)
      file << value % 7 * 0.25 - 0.75 << ' ';
    return set;
  }
  fs::path dir_;
};

TEST_F(Batch, PrintsProgressInTheLocaleAndWritesTheReport) {
  const std::string epoch = "SOURCE_DATE_EPOCH=1796394035";
  const struct {
    std::vector<std::string> env;
    std::vector<std::string> args;
    std::string out;
    std::string reportEnd;  // empty when no report is written
  } cases[] = {
      // Quiet, the report is byte for byte the one the window saves for the same training
      // (the same expected file as the report's own test).
      {{epoch},
       {"--quiet", "--rate=1", "--max-sweeps=2", "--print-sweeps", "1", "--sections", "all",
        "--report=" + Report(), kTwo},
       "",
       ReadBytes(CORVEL_REPORT_DATA_DIR "/two_all_sections.txt")},
      // Hebb rule at rate 1: sweep 1 fits both patterns; every later sweep adds the same
      // weights again, so the continued sweep 3 leaves three times the desired outputs.
      {{epoch},
       {"--rate", "1", "--max-sweeps", "2", "--print-sweeps", "1", "--continue", "1", "--report",
        Report(), kTwo},
       "Training: two.net\n"
       "Epochs: 1\tTotal SSE: 0.00\n"
       "Epochs: 2\tTotal SSE: 6.56\tChange in SSE: -6.56E+00\n"
       "Epochs: 2\tTotal SSE: 6.56\tChange in SSE: -6.56E+00\n"
       "Epochs: 3\tTotal SSE: 26.25\tChange in SSE: -1.97E+01\n"
       "Epochs: 3\tTotal SSE: 26.25\tChange in SSE: -1.97E+01\n",
       // The default sections end with the weights.
       "INP 1\t+1.50\t-.75\t\r\r\nINP 2\t+4.50\t+6.00\t\r\r\n" + kEquals},
      // A negative printout count is a value, not an option: no printout ever comes. Rate
      // 0.1: errors (0.45, -0.225) and (1.35, 1.8) after their steps give 5.315625.
      {{},
       {"--max-sweeps", "1", "--print-sweeps", "-1", "--min-sse", "-1", kTwo},
       "Training: two.net\nEpochs: 1\tTotal SSE: 5.32\n",
       ""},
      {{epoch, "LANG=de_DE.UTF-8"},
       {"--max-sweeps", "1", "--sections", "general", "--report", Report(), kTwo},
       "Training: two.net\nEpochs: 1\tTotal SSE: 5,32\n",
       "Date Of Analysis: 04.12.2026\r\r\nTime Of Analysis: 14:20:35\r\r\n" + kEquals +
           "Learning rule: Hebb\r\r\nLearning rate: 0,1\r\r\n"
           "Training completed after 1 epochs\r\r\n" +
           kEquals},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    fs::remove(Report());
    const Outcome o = Run(c.args, c.env);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, c.out);
    if (!c.reportEnd.empty()) {
      EXPECT_TRUE(ReadBytes(Report()).ends_with(c.reportEnd));
    }
  }
}

// The rows of the report section that follows the line `heading`, each cut into its cells.
std::vector<std::vector<std::string>> SectionRows(const std::string& report,
                                                  const std::string& heading) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(report.substr(report.find(heading + "\r\r\n")));
  std::string line;
  std::getline(lines, line);  // the heading
  std::getline(lines, line);  // the dash rule
  while (std::getline(lines, line) && line.find("=====") == std::string::npos) {
    std::vector<std::string> cells;
    std::istringstream fields(line.substr(0, line.find("\r")));
    for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

// Each CSV row, its numbers written as the report writes them; a leading label is kept.
std::vector<std::vector<std::string>> CsvRowsAsTheReportWrites(const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, ',');)
      cells.push_back(cells.empty() ? cell : corvel::FormatSigned2(std::stod(cell), {}));
    rows.push_back(cells);
  }
  return rows;
}

// The weights and responses files hold the numbers of the report's weights, responses and
// errors sections, number for number, for the four samples under both rules.
TEST_F(Batch, CsvFilesHoldTheReportsNumbers) {
  const fs::path weights = dir_ / "weights.csv", responses = dir_ / "responses.csv";
  for (const char* sample :
       {"autoassociator8.net", "correlated.net", "impossible.net", "orthonormal.net"}) {
    for (const char* rule : {"hebb", "delta"}) {
      SCOPED_TRACE(std::string(sample) + " " + rule);
      ASSERT_EQ(Run({"--quiet", "--rule", rule, "--report", Report(), "--weights-csv",
                     weights.string(), "--responses-csv", responses.string(),
                     CORVEL_EXAMPLES_DIR "/" + std::string(sample)})
                    .status,
                0);
      const std::string report = ReadBytes(Report());
      auto inputs = SectionRows(report,
                                "Connection weights from input units (rows) to output "
                                "units (columns):");
      inputs.erase(inputs.begin());  // the heading row of output units
      for (auto& row : inputs) row[0] = "INP " + std::to_string(&row - inputs.data() + 1);
      EXPECT_EQ(CsvRowsAsTheReportWrites(ReadBytes(weights)), inputs);
      const auto responseRows = SectionRows(report, "Network Responses To Each Input Pattern:");
      const auto errorRows = SectionRows(report, "Network Response Errors To Each Input Pattern:");
      const auto rows = CsvRowsAsTheReportWrites(ReadBytes(responses));
      ASSERT_EQ(rows.size(), responseRows.size());
      for (std::size_t p = 0; p < rows.size(); ++p) {
        const std::size_t m = responseRows[p].size() - 1;
        EXPECT_EQ(std::vector(rows[p].begin() + 1, rows[p].begin() + 1 + m),
                  std::vector(responseRows[p].begin() + 1, responseRows[p].end()));
        EXPECT_EQ(std::vector(rows[p].begin() + 1 + 2 * m, rows[p].begin() + 1 + 3 * m),
                  std::vector(errorRows[p].begin() + 1, errorRows[p].end()));
      }
    }
  }
}

// Every refused command line of data/refusals.tsv.
TEST_F(Batch, BadInputIsExitTwoWithOneLineAndNoReport) {
  const std::pair<std::string, std::string> places[] = {{"@DATA@", kData},
                                                        {"@DIR@", dir_.string()}};
  const auto expand = [&](std::string text) {
    for (const auto& [name, path] : places) {
      for (auto at = text.find(name); at != std::string::npos; at = text.find(name))
        text.replace(at, name.size(), path);
    }
    return text;
  };
  std::ifstream table(kData + "/refusals.tsv");
  std::string line;
  int rows = 0;
  while (std::getline(table, line)) {
    if (line.starts_with('#')) continue;
    SCOPED_TRACE(line);
    std::istringstream fields(expand(line));
    std::string epoch, arguments, message, arg;
    std::getline(fields, epoch, '\t');
    std::getline(fields, arguments, '\t');
    std::getline(fields, message);
    std::vector<std::string> args = {"--report", Report()};
    for (std::istringstream words(arguments); words >> arg;) args.push_back(arg);
    std::ofstream(Report(), std::ios::binary) << "earlier";
    const Outcome o = Run(args, {"SOURCE_DATE_EPOCH=" + epoch});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, message + "\n");
    EXPECT_EQ(ReadBytes(Report()), "earlier");
    ++rows;
  }
  EXPECT_EQ(rows, 18);
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(Batch, RunFailureIsExitThreeWithTheFailureReport) {
  // One input of 1e200: the first Delta step makes a weight of 1e200, and the response to
  // the pattern overflows.
  const Outcome o =
      Run({"--rule", "delta", "--rate", "1", "--report", Report(), kData + "/overflow.net"});
  EXPECT_EQ(o.status, 3);
  EXPECT_EQ(o.out, "Training: overflow.net\n");
  EXPECT_TRUE(o.err.starts_with(
      "This version of the code has encountered an error.\n"
      "It would be helpful if you could report this error to the Corvel Duvu issue tracker\n"
      "Please include the following error message as well as\n"
      "where the error occured and what version of windows you are using:\n"))
      << o.err;
  EXPECT_TRUE(o.err.ends_with(" \n"));
  EXPECT_FALSE(fs::exists(Report()));
}

// A network too large for the process's address-space limit (`ulimit -v`, as on shared
// servers) is refused at load with the megabytes it needs, before a run could fail.
TEST_F(Batch, NetworkBeyondTheAddressSpaceLimitIsRefusedAtLoad) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer maps terabytes of shadow memory: no address-space limit fits";
#endif
  const fs::path big = LargeSet(20000, 1);
  const std::string command = "ulimit -v 3000000; '" CORVEL_BATCH_PROGRAM "' --quiet '" +
                              big.string() + "' 2>'" + (dir_ / "stderr").string() + "'";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
  EXPECT_NE(ReadBytes(dir_ / "stderr").find("need 6117 MB of memory, more than is available"),
            std::string::npos)
      << ReadBytes(dir_ / "stderr");
}

// A 4096 x 4096 memory trains and writes its whole report in at most 1.1 times its weights
// and changes (2 x 128 MiB): the run keeps no copy of the weights, nor the report its text.
TEST_F(Batch, LargeMemoryNeedsLittleBeyondItsWeightsAndChanges) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer's own memory would be counted";
#endif
  ASSERT_EQ(Run({"--quiet", "--max-sweeps=2", "--rate=1e-4", "--sections=all", "--report=/dev/null",
                 LargeSet(4096, 16).string()})
                .status,
            0);
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LE(children.ru_maxrss, 256 * 1024 * 11 / 10) << "kilobytes, the most a child held";
}

TEST_F(Batch, HelpAndVersionGoToStandardOutput) {
  const Outcome help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: corvel-duvu-batch [options] TRAINING_FILE\n"));
  EXPECT_NE(help.out.find("--sections LIST"), std::string::npos);
  EXPECT_EQ(help.err, "");
  const Outcome version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "corvel-duvu-batch " CORVEL_VERSION "\n");
}

}  // namespace
