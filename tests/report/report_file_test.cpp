#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "report/replace_file.h"
#include "report/results_report.h"

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

class ReportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("report_file_test_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  // The names in the directory: a failed or finished write leaves no temporary file behind.
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  fs::path dir_;
};

PublicStuff SmallState() {
  PublicStuff s;
  s.TrainingFileName = "small.net";
  s.NumInputUnits = 1;
  s.NumOutputUnits = 1;
  s.NumPatterns = 1;
  s.InputPatterns = Array2D<double>(1, 1);
  s.DesiredOutputs = Array2D<double>(1, 1);
  s.AllocateNetwork();
  s.LearningRule = "Delta";
  return s;
}

TEST_F(ReportFile, WritesExactBytesAndTruncatesALongerFile) {
  PublicStuff s = SmallState();
  const fs::path target = dir_ / "results.txt";
  WriteBytes(target, std::string(100000, 'x'));
  ASSERT_FALSE(WriteResultsReport(s, target, kDefaultReportSections, {}, {}));
  EXPECT_EQ(ReadBytes(target), ResultsReportText(s, kDefaultReportSections, {}, {}));
  EXPECT_EQ(EntryCount(), 1u);
}

// Nothing is created or replaced where the write cannot go, and the message names the path.
TEST_F(ReportFile, UnwritablePathsAreErrorsThatChangeNothing) {
  fs::create_directory(dir_ / "taken.txt");
  const struct {
    fs::path target;
    std::string reason;
  } cases[] = {{dir_ / "no such dir" / "results.txt", "No such file or directory"},
               {dir_ / "taken.txt", "Is a directory"}};
  for (const auto& c : cases) {
    const auto error = ReplaceFile(c.target, "text");
    ASSERT_TRUE(error) << c.target;
    EXPECT_EQ(error->Message(), "Cannot write \"" + c.target.string() + "\": " + c.reason);
    EXPECT_EQ(EntryCount(), 1u);
  }
  EXPECT_TRUE(fs::is_directory(dir_ / "taken.txt"));
}

// A write that fails half way (here a file-size limit, as a full disk would) leaves the
// earlier report as it was.
TEST_F(ReportFile, FailedWriteKeepsTheEarlierFile) {
  const fs::path target = dir_ / "results.txt";
  WriteBytes(target, "earlier report");
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  const auto error = ReplaceFile(target, std::string(100000, 'y'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedHandler);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Reason, "File too large");
  EXPECT_EQ(ReadBytes(target), "earlier report");
  EXPECT_EQ(EntryCount(), 1u);
}

}  // namespace
}  // namespace corvel
