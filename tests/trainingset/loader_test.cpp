#include "trainingset/loader.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "state/memory_budget.h"

namespace corvel {

// Failed expectations show the message rather than the bytes of the error.
void PrintTo(const LoadError& error, std::ostream* out) { *out << error.message; }

namespace {

namespace fs = std::filesystem;

// A file of its own for each test (tests run in parallel), removed when the test ends.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& content) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = fs::path(testing::TempDir()) / (name + ".net");
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~ScratchFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// A set whose every value differs, so a value read into the wrong place shows.
double InputValue(int i, int p) { return i + 0.25 * p; }
double OutputValue(int j, int p) { return -j - 0.5 * p; }

// A layout of the same set: `sep` between the values of a pattern, `eol` after each pattern
// and after the header, `unused` as the second header value, `head` and `tail` around it all.
struct Layout {
  const char* name;
  std::string sep;
  std::string eol;
  std::string unused = "7";
  std::string head = "";
  std::string tail = "";
};
void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }

std::string RenderSet(int inputs, int outputs, int patterns, const Layout& layout) {
  const std::string& sep = layout.sep;
  std::string text = layout.head + std::to_string(outputs) + sep + layout.unused + sep +
                     std::to_string(inputs) + sep + std::to_string(patterns) + layout.eol;
  const auto block = [&](int units, double (*value)(int, int)) {
    for (int p = 1; p <= patterns; ++p) {
      for (int u = 1; u <= units; ++u) text += std::to_string(value(u, p)) + (u < units ? sep : "");
      text += layout.eol;
    }
  };
  block(inputs, InputValue);
  block(outputs, OutputValue);
  return text + layout.tail;
}
std::string RenderSet(int inputs, int outputs, int patterns) {
  return RenderSet(inputs, outputs, patterns, {"plain", ",", "\n"});
}

void ExpectHoldsSet(const PublicStuff& s, int inputs, int outputs, int patterns) {
  ASSERT_EQ(s.NumInputUnits, inputs);
  ASSERT_EQ(s.NumOutputUnits, outputs);
  ASSERT_EQ(s.NumPatterns, patterns);
  Array2D<double> in(inputs, patterns);
  Array2D<double> out(outputs, patterns);
  for (int p = 1; p <= patterns; ++p) {
    for (int i = 1; i <= inputs; ++i) in(i, p) = InputValue(i, p);
    for (int j = 1; j <= outputs; ++j) out(j, p) = OutputValue(j, p);
  }
  EXPECT_EQ(s.InputPatterns, in);
  EXPECT_EQ(s.DesiredOutputs, out);
}

class LoaderLayout : public testing::TestWithParam<Layout> {};

TEST_P(LoaderLayout, EveryLayoutOfTheSameValuesLoadsTheSameSet) {
  PublicStuff s;
  const ScratchFile file(RenderSet(3, 2, 4, GetParam()));
  ASSERT_EQ(LoadTrainingFile(s, file.path()), std::nullopt);
  ExpectHoldsSet(s, 3, 2, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Loader, LoaderLayout,
    testing::Values(Layout{"OnePerLine", "\n", "\n"}, Layout{"CommasPerPattern", ",", "\n"},
                    Layout{"CommaSpace", " , ", "\r\n"}, Layout{"OneLineSpaces", " ", " "},
                    Layout{"OneLineTabs", "\t", "\t"}, Layout{"LoneCr", ",", "\r"},
                    Layout{"TrailingComma", ",", ",\n"},
                    Layout{"BomAndBlankLines", ",", "\n\n \t\n", "7", "\xEF\xBB\xBF\n\n"},
                    Layout{"ExtraValuesAfterTheEnd", " ", "\n", "7", "", "1 2\nabc nan ,,\x01"},
                    Layout{"NegativeUnusedValue", ",", "\n", "-2147483648"},
                    Layout{"EmptyUnusedValue", ",", "\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Loader, ReadsValuesInFileOrderWithEmptyFieldsAsZero) {
  PublicStuff s;
  // Header 1, 0, 4, 2 (two of them with a zero fraction): one output, four inputs, two
  // patterns; all inputs come before the outputs, and the empty field is input 3 of pattern 1.
  ASSERT_EQ(LoadTrainingText(s, "1.0,0,4e0,2\n1,2,,4\n5,6,7,8\n9\n10\n", "a.net"), std::nullopt);
  EXPECT_EQ(s.NumInputUnits, 4);
  EXPECT_EQ(s.NumOutputUnits, 1);
  EXPECT_EQ(s.NumPatterns, 2);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(s.InputPatterns(i, 1), i == 3 ? 0 : i);
    EXPECT_EQ(s.InputPatterns(i, 2), i + 4);
  }
  EXPECT_EQ(s.DesiredOutputs(1, 1), 9);
  EXPECT_EQ(s.DesiredOutputs(1, 2), 10);
}

TEST(Loader, ZeroPatternsReadsOnlyTheHeader) {
  PublicStuff s;
  ASSERT_EQ(LoadTrainingText(s, "3 0 5 0 this is never read", "zero.net"), std::nullopt);
  EXPECT_EQ(s.NumInputUnits, 5);
  EXPECT_EQ(s.NumOutputUnits, 3);
  EXPECT_EQ(s.NumPatterns, 0);
  EXPECT_EQ(s.InputPatterns.upperA(), 5);
  EXPECT_EQ(s.InputPatterns.upperB(), 0);
  EXPECT_EQ(s.DesiredOutputs.upperB(), 0);
}

TEST(Loader, SecondFileReplacesTheFirstCompletely) {
  PublicStuff s;
  ASSERT_EQ(LoadTrainingText(s, RenderSet(5, 4, 6), "first.net"), std::nullopt);
  ASSERT_EQ(LoadTrainingText(s, RenderSet(2, 1, 3), "second.net"), std::nullopt);
  ExpectHoldsSet(s, 2, 1, 3);
}

// A failed load returns the kind and message and leaves the loaded set untouched.
struct Failure {
  const char* name;
  std::string text;
  LoadError::Kind kind;
  std::string message;
};
void PrintTo(const Failure& failure, std::ostream* out) { *out << failure.name; }

// As on a machine with 1 GiB free, whatever this one has.
class LoaderFailure : public testing::TestWithParam<Failure> {
  void SetUp() override { SetAvailableMemoryForTesting(std::uint64_t{1} << 30); }
  void TearDown() override { SetAvailableMemoryForTesting(std::nullopt); }
};

TEST_P(LoaderFailure, ReportsKindAndPlaceAndKeepsThePreviousSet) {
  const Failure& f = GetParam();
  PublicStuff s;
  ASSERT_EQ(LoadTrainingText(s, RenderSet(2, 2, 3), "good.net"), std::nullopt);
  const auto error = LoadTrainingText(s, f.text, "bad.net");
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, f.kind);
  EXPECT_EQ(error->message, f.message);
  ExpectHoldsSet(s, 2, 2, 3);
}

using K = LoadError::Kind;
INSTANTIATE_TEST_SUITE_P(
    Loader, LoaderFailure,
    testing::Values(
        Failure{"EmptyFile", "", K::EndsEarly,
                "bad.net, line 1: expected number of output units (first header value), found "
                "end of file"},
        Failure{"EndsInHeader", "1 0\r\n", K::EndsEarly,
                "bad.net, line 1: expected number of input units (third header value), found "
                "end of file"},
        Failure{"EndsInOutputs", "1,0,2,2\n1,2\n3,4\n5\n", K::EndsEarly,
                "bad.net, line 4: expected desired output 1 of pattern 2, found end of file"},
        Failure{"TooShortForHeader", "3 0 32767 32767\n1 2 3", K::EndsEarly,
                "bad.net, line 1: the header announces 32767 patterns of 32767 inputs and 3 "
                "desired outputs (1073774590 values), but only 6 bytes follow it: the file ends "
                "early"},
        Failure{"NetworkTooLarge", "32767 0 32767 1\n" + std::string(65534, ','), K::TooLarge,
                "bad.net, line 1: the header announces 1 pattern of 32767 inputs and 32767 "
                "desired outputs: the set and a network to learn it need 24580 MB of memory, "
                "more than is available"},
        Failure{"LettersInInput", "1,0,3,2\r\n1,2,3\r\n4,5,abc\r\n", K::NotANumber,
                "bad.net, line 3: expected input 3 of pattern 2, found \"abc\", which is not a "
                "number"},
        Failure{"NanInOutput", "1 0 1 1\r1\rnan\r", K::NotANumber,
                "bad.net, line 3: expected desired output 1 of pattern 1, found \"nan\", which "
                "is not a number"},
        Failure{"HugeValue", "1 0 1 1\n1e999 0", K::NotANumber,
                "bad.net, line 2: expected input 1 of pattern 1, found \"1e999\", which is too "
                "large (the largest number is about 1.8e308)"},
        Failure{"LongGarbageIsCut", "1 0 1 1 \x01xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx",
                K::NotANumber,
                "bad.net, line 1: expected input 1 of pattern 1, found "
                "\"\\x01xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\", which is not a number"},
        Failure{"WordInHeader", "one 0 1 1", K::NotANumber,
                "bad.net, line 1: expected number of output units (first header value), found "
                "\"one\", which is not a number"},
        Failure{"FractionInHeader", "1 0 2.5 1", K::NotAWholeNumber,
                "bad.net, line 1: expected number of input units (third header value), found "
                "\"2.5\", which is not a whole number"},
        Failure{"UnusedBeyond32Bits", "1\n-2147483649\n1 1", K::NotAWholeNumber,
                "bad.net, line 2: expected second header value (a whole number the program "
                "does not use), found \"-2147483649\", which is outside the whole numbers from "
                "-2147483648 to 2147483647"},
        Failure{"NegativeCount", "1 0 1 -1", K::CountOutOfRange,
                "bad.net, line 1: expected number of patterns (fourth header value), found "
                "\"-1\", but a count must lie between 0 and 32767"},
        Failure{"CountAbove16Bits", "32768 0 1 1", K::CountOutOfRange,
                "bad.net, line 1: expected number of output units (first header value), found "
                "\"32768\", but a count must lie between 0 and 32767"},
        Failure{"CountBeyond32Bits", "1 0 1e10 1", K::CountOutOfRange,
                "bad.net, line 1: expected number of input units (third header value), found "
                "\"1e10\", but a count must lie between 0 and 32767"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoaderFile, ReportsFilesThatCannotBeRead) {
  PublicStuff s;
  const fs::path missing = fs::path(testing::TempDir()) / "no such dir" / "x.net";
  auto error = LoadTrainingFile(s, missing);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, K::CannotOpen);
  EXPECT_EQ(error->message,
            missing.string() + ": cannot open the file (No such file or directory)");

  const fs::path directory = fs::path(testing::TempDir());
  error = LoadTrainingFile(s, directory);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, K::CannotOpen);
  EXPECT_EQ(error->message, directory.string() + ": cannot read the file (Is a directory)");
  EXPECT_EQ(s.NumPatterns, 0);
  EXPECT_TRUE(s.InputPatterns.empty());
}

TEST(LoaderFile, RefusesWhatDoesNotFitInMemory) {
  EXPECT_TRUE(CanAllocate(1));
  EXPECT_FALSE(CanAllocate(SIZE_MAX));

  // A sparse file far larger than the memory of any machine that runs the tests.
  const ScratchFile file("1 0 1 1 0.5 1\n");
  fs::resize_file(file.path(), std::uintmax_t{1} << 40);
  PublicStuff s;
  const auto error = LoadTrainingFile(s, file.path());
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, K::TooLarge);
  EXPECT_EQ(
      error->message,
      file.path().string() + ": the file (1099511627776 bytes) is too large to read into memory");
}

// Arrays that cannot be allocated end in TooLarge even when the memory check lets them pass:
// a child process with a small address-space limit loads a set of 2000 x 2000 commas, whose
// 32 MB of arrays do not fit.
TEST(LoaderFile, AllocationFailureIsTooLarge) {
  const std::string text = "0,0,2000,2000\n" + std::string(2000 * 2000, ',');
  const auto loadUnderLimit = [&] {
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    std::ifstream status("/proc/self/statm");
    rlim_t pages = 0;
    status >> pages;
    limit.rlim_cur = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{16} << 20);
    setrlimit(RLIMIT_AS, &limit);
    PublicStuff s;
    const auto error = LoadTrainingText(s, text, "big.net");
    std::fputs(error ? error->message.c_str() : "loaded", stderr);
    std::exit(error && error->kind == K::TooLarge ? 0 : 1);
  };
  EXPECT_EXIT(loadUnderLimit(), testing::ExitedWithCode(0),
              "^big.net, line 1: the header announces 2000 patterns of 2000 inputs and 0 desired "
              "outputs: the set and a network to learn it need [0-9]+ MB of memory, more than is "
              "available$");
}

}  // namespace
}  // namespace corvel
