#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
namespace {

const std::string kData = CORVEL_TEST_DATA_DIR;
// two.net: inputs (1, 0) and (0, 1), desired outputs (0.5, -0.25) and (1.5, 2).
const std::string kTwo = kData + "/two.net";

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

  // Runs the program with `args` in a fixed environment: UTC, the report dated 2026-12-04
  // 14:20:35, and the C locale unless `env` names another.
  Outcome Run(const std::vector<std::string>& args,
              std::vector<std::string> env = {"SOURCE_DATE_EPOCH=1796394035"}) {
    if (std::none_of(env.begin(), env.end(),
                     [](const std::string& e) { return e.starts_with("LANG="); })) {
      env.push_back("LC_ALL=C");
    }
    env.push_back("TZ=UTC");
    std::vector<std::string> argv{CORVEL_BATCH_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argp, envp;
    for (auto& a : argv) argp.push_back(a.data());
    for (auto& e : env) envp.push_back(e.data());
    argp.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t pid = 0;
    Outcome o;
    if (posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data()) == 0) {
      int wstatus = 0;
      waitpid(pid, &wstatus, 0);
      o.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    o.out = ReadBytes(out);
    o.err = ReadBytes(err);
    return o;
  }

  std::string Report() const { return (dir_ / "report.txt").string(); }
  fs::path dir_;
};

TEST_F(Batch, TrainsContinuesAndWritesTheReport) {
  const Outcome o = Run({"--rate", "1", "--max-sweeps", "2", "--print-sweeps", "1", "--continue",
                         "1", "--sections", "all", "--report", Report(), kTwo});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.err, "");
  // Hebb rule at rate 1: sweep 1 fits both patterns; every later sweep adds the same weights
  // again, one pattern at a time, so sweep 3 leaves three times the desired outputs.
  EXPECT_EQ(o.out,
            "Training: two.net\n"
            "Epochs: 1\tTotal SSE: 0.00\n"
            "Epochs: 2\tTotal SSE: 6.56\tChange in SSE: -6.56E+00\n"
            "Epochs: 2\tTotal SSE: 6.56\tChange in SSE: -6.56E+00\n"
            "Epochs: 3\tTotal SSE: 26.25\tChange in SSE: -1.97E+01\n"
            "Epochs: 3\tTotal SSE: 26.25\tChange in SSE: -1.97E+01\n");
  const std::string eq = "=============================================\r\r\n";
  const std::string dash = "---------------\r\r\n";
  EXPECT_EQ(ReadBytes(Report()),
            "Distributed Associative Memory Program\r\r\n" + eq + "\r\r\n" +
                "Results Of Training With File: two.net\r\r\n"
                "Date Of Analysis: 12/4/2026\r\r\n"
                "Time Of Analysis: 2:20:35 PM\r\r\n" +
                eq +
                "Learning rule: Hebb\r\r\nLearning rate: 1\r\r\n"
                "Training completed after 3 epochs\r\r\n" +
                eq + "Network Responses To Each Input Pattern:\r\r\n" + dash +
                "Pattern 1\t+1.50\t-.75\t\r\r\nPattern 2\t+4.50\t+6.00\t\r\r\n" + eq +
                "After training, sum of squared error was: 26.25\r\r\n"
                "Network Response Errors To Each Input Pattern:\r\r\n" +
                dash + "Pattern 1\t-1.00\t+.50\t\r\r\nPattern 2\t-3.00\t-4.00\t\r\r\n" + eq +
                "Connection weights from input units (rows) to output units (columns):\r\r\n" +
                dash +
                "\tOut 1\tOut 2\t\r\r\nINP 1\t+1.50\t-.75\t\r\r\nINP 2\t+4.50\t+6.00\t\r\r\n" + eq +
                "The set of input patterns was:\r\r\n" + dash +
                "Pattern 1\t+1.00\t+.00\t\r\r\nPattern 2\t+.00\t+1.00\t\r\r\n" + eq +
                "The set of desired outputs was:\r\r\n" + dash +
                "Pattern 1\t+.50\t-.25\t\r\r\nPattern 2\t+1.50\t+2.00\t\r\r\n" + eq +
                "Network SSE as a function of sweeps of training was:\r\r\n" + dash +
                "Sweeps\tNetwork SSE\r\r\n0.00\t6.56E+00\r\n1.00\t0.00E+00\r\n2.00\t6.56E+00\r\n"
                "3.00\t2.63E+01\r\n" +
                eq);
}

TEST_F(Batch, QuietInlineValuesAndDefaultSections) {
  const Outcome o = Run({"--quiet", "--rate=1", "--max-sweeps=1", "--report=" + Report(), kTwo});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "");
  const std::string report = ReadBytes(Report());
  EXPECT_NE(report.find("Training completed after 1 epochs\r\r\n"), std::string::npos);
  EXPECT_NE(report.find("INP 2\t+1.50\t+2.00\t\r\r\n"), std::string::npos);
  EXPECT_EQ(report.find("The set of input patterns was:"), std::string::npos);
  EXPECT_EQ(report.find("Network SSE as a function"), std::string::npos);
}

TEST_F(Batch, EndOfAOneSweepRunHasNoChange) {
  // A negative printout count is a value, not an option: no printout ever comes. Rate 0.1:
  // errors (0.45, -0.225) and (1.35, 1.8) after their steps give 5.315625.
  const Outcome o = Run({"--max-sweeps", "1", "--print-sweeps", "-1", "--min-sse", "-1", kTwo});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "Training: two.net\nEpochs: 1\tTotal SSE: 5.32\n");
}

TEST_F(Batch, FollowsTheLocale) {
  const std::vector<std::string> args = {"--max-sweeps", "1",      "--sections", "general",
                                         "--report",     Report(), kTwo};
  Outcome o = Run(args, {"SOURCE_DATE_EPOCH=1796394035", "LANG=de_DE.UTF-8"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "Training: two.net\nEpochs: 1\tTotal SSE: 5,32\n");
  std::string report = ReadBytes(Report());
  EXPECT_NE(report.find("Date Of Analysis: 04.12.2026\r\r\nTime Of Analysis: 14:20:35\r\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("Learning rate: 0,1\r\r\n"), std::string::npos);

  o = Run(args, {"SOURCE_DATE_EPOCH=1796394035", "LANG=en_US.UTF-8"});
  EXPECT_EQ(o.status, 0);
  report = ReadBytes(Report());
  EXPECT_NE(report.find("Date Of Analysis: 12/4/2026\r\r\nTime Of Analysis: 2:20:35 PM\r\r\n"),
            std::string::npos);
}

TEST_F(Batch, BadInputIsExitTwoWithOneLineAndNoReport) {
  struct Case {
    std::vector<std::string> args;
    std::string err;  // the whole line, or its start when it ends in "..."
  };
  const std::string usage = "; usage: corvel-duvu-batch [options] TRAINING_FILE";
  const std::vector<Case> cases = {
      {{}, "no training file given" + usage + "..."},
      {{"--frob", kTwo}, "unknown option \"--frob\"" + usage + "..."},
      {{kTwo, "--rate"}, "option --rate needs a value" + usage + "..."},
      {{"--quiet=1", kTwo}, "option --quiet takes no value" + usage + "..."},
      {{kTwo, kTwo}, "more than one training file given..."},
      {{"--rule", "Hebb", kTwo}, "--rule takes hebb or delta, not \"Hebb\"" + usage + "..."},
      {{"--sections", "general,bogus", kTwo}, "--sections takes a comma list..."},
      {{"--rate", "-1", kTwo}, "Learning rate cannot be negative\n"},
      {{"--max-sweeps", "0", kTwo},
       "Maximum number of training epochs must be greater than zero.\n"},
      {{"--no-max-sweeps", kTwo},
       "At least one box for method of ending training must be checked.\n"},
      {{"--rate", "abc", kTwo},
       "Type mismatch: \"abc\" in \"Choose A Learning Rate\" is not a number\n"},
      {{"--print-sweeps", "1e10", kTwo}, "Overflow: \"1e10\" in..."},
      {{"--continue", "0", kTwo}, "Maximum number of training epochs must be greater than zero.\n"},
      {{kData + "/missing.net"}, kData + "/missing.net: ..."},
      {{kData + "/malformed.net"}, kData + "/malformed.net, line 3: ..."},
  };
  const fs::path report = Report();
  for (const Case& c : cases) {
    std::ofstream(report, std::ios::binary) << "earlier";
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), {"--report", report.string()});
    const Outcome o = Run(args);
    const std::string what = c.err.substr(0, 40);
    EXPECT_EQ(o.status, 2) << what;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << what;
    if (c.err.ends_with("...")) {
      EXPECT_TRUE(o.err.starts_with(c.err.substr(0, c.err.size() - 3))) << o.err;
    } else {
      EXPECT_EQ(o.err, c.err);
    }
    EXPECT_EQ(ReadBytes(report), "earlier") << what;
  }
}

TEST_F(Batch, UnusableReportPathOrDate) {
  const fs::path missing = dir_ / "no such dir" / "report.txt";
  Outcome o = Run({"--report", missing.string(), kTwo});
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find(missing.string()), std::string::npos);
  EXPECT_FALSE(fs::exists(missing.parent_path()));

  o = Run({"--report", Report(), kTwo}, {"SOURCE_DATE_EPOCH=12abc"});
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.err, "SOURCE_DATE_EPOCH \"12abc\" is not a whole number of seconds since 1970\n");
  EXPECT_FALSE(fs::exists(Report()));
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

TEST_F(Batch, HelpGoesToStandardOutput) {
  const Outcome o = Run({"--help"});
  EXPECT_EQ(o.status, 0);
  EXPECT_TRUE(o.out.starts_with("usage: corvel-duvu-batch [options] TRAINING_FILE\n")) << o.out;
  EXPECT_NE(o.out.find("--sections LIST"), std::string::npos);
  EXPECT_EQ(o.err, "");
}

}  // namespace
