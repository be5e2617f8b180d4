// The loader reads every layout of a training file to the same set, reports each kind of
// malformed file with its place, and refuses what does not fit in memory; under it, the
// reading of numbers.

#include "trainingset/loader.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "state/memory_budget.h"
#include "trainingset/number_text.h"

namespace corvel {

// Failed expectations show the message rather than the bytes of the error.
void PrintTo(const LoadError& error, std::ostream* out) { *out << error.message; }

namespace {

namespace fs = std::filesystem;
using K = LoadError::Kind;
using namespace detail;

// Checks that `s` holds a set of the given shape whose values are 0, 1, 2, ... in file
// order: every input of every pattern, then every desired output; a value read into the
// wrong place shows.
void ExpectSet(const PublicStuff& s, int inputs, int outputs, int patterns) {
  Array2D<double> in(inputs, patterns);
  Array2D<double> out(outputs, patterns);
  double next = 0;
  for (int p = 1; p <= patterns; ++p) {
    for (int i = 1; i <= inputs; ++i) in(i, p) = next++;
  }
  for (int p = 1; p <= patterns; ++p) {
    for (int j = 1; j <= outputs; ++j) out(j, p) = next++;
  }
  EXPECT_EQ(s.NumInputUnits, inputs);
  EXPECT_EQ(s.NumOutputUnits, outputs);
  EXPECT_EQ(s.NumPatterns, patterns);
  EXPECT_EQ(s.InputPatterns, in);
  EXPECT_EQ(s.DesiredOutputs, out);
}

// The header is: outputs, a value the program does not use, inputs, patterns.
constexpr const char* kSet = "2,0,2,2\n0,1\n2,3\n4,5\n6,7\n";

// Each text holds two inputs, two outputs and two patterns, laid out differently.
TEST(Loader, EveryLayoutOfTheSameValuesLoadsTheSameSet) {
  const char* const layouts[] = {
      kSet,
      "2 , 0 , 2 , 2\r\n0 , 1\r\n2 , 3\r\n4 , 5\r\n6 , 7\r\n",
      "2\t0\t2\t2\t0\t1\t2\t3\t4\t5\t6\t7\t",
      "2,0,2,2,\n0,1,\n2,3,\n4,5,\n6,7,\n",
      "\xEF\xBB\xBF\n\n2,0,2,2\n\n \t\n0,1\n2,3\n4,5\n\n6,7\n\n",
      "2 0 2 2 0 1 2 3 4 5 6 7\n1 2\nabc nan ,,\x01",  // what follows the set is not read
      "2,-2147483648,2,2\n0,1\n2,3\n4,5\n6,7\n",
      "2,,2,2\n0,1\n2,3\n4,5\n6,7\n",
      "2,0,2,2,,1\n2,3\n4,5\n6,7\n",  // an empty field is zero
  };
  for (const char* text : layouts) {
    SCOPED_TRACE(testing::PrintToString(text));
    PublicStuff s;
    // A larger set loaded first is replaced completely; with no patterns only the header is
    // read.
    ASSERT_EQ(LoadTrainingText(s, "3 0 5 0 this is never read", "zero.net"), std::nullopt);
    ExpectSet(s, 5, 3, 0);
    ASSERT_EQ(LoadTrainingText(s, text, "a.net"), std::nullopt);
    ExpectSet(s, 2, 2, 2);
  }
}

// As on a machine with 1 GiB free, whatever this one has.
class LoaderFailure : public testing::Test {
  void SetUp() override { SetAvailableMemoryForTesting(std::uint64_t{1} << 30); }
  void TearDown() override { SetAvailableMemoryForTesting(std::nullopt); }
};

// A failed load returns the kind and message and leaves the loaded set untouched.
TEST_F(LoaderFailure, ReportsKindAndPlaceAndKeepsThePreviousSet) {
  const struct {
    std::string text;
    K kind;
    std::string message;
  } cases[] = {
      {"", K::EndsEarly,
       "bad.net, line 1: expected number of output units (first header value), found end of file"},
      {"1 0\r\n", K::EndsEarly,
       "bad.net, line 1: expected number of input units (third header value), found end of file"},
      {"1,0,2,2\r1,2\r3,4\r5\r", K::EndsEarly,
       "bad.net, line 4: expected desired output 1 of pattern 2, found end of file"},
      {"3 0 32767 32767\n1 2 3", K::EndsEarly,
       "bad.net, line 1: the header announces 32767 patterns of 32767 inputs and 3 desired outputs "
       "(1073774590 values), but only 6 bytes follow it: the file ends early"},
      {"1 0 1 1\n1e999 0", K::NotANumber,
       "bad.net, line 2: expected input 1 of pattern 1, found \"1e999\", which is too large (the "
       "largest number is about 1.8e308)"},
      {"1 0 1 1 \x01xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", K::NotANumber,
       "bad.net, line 1: expected input 1 of pattern 1, found "
       "\"\\x01xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\", which is not a number"},
      {"one 0 1 1", K::NotANumber,
       "bad.net, line 1: expected number of output units (first header value), found \"one\", "
       "which is not a number"},
      {"1 0 2.5 1", K::NotAWholeNumber,
       "bad.net, line 1: expected number of input units (third header value), found \"2.5\", which "
       "is not a whole number"},
      {"1\n-2147483649\n1 1", K::NotAWholeNumber,
       "bad.net, line 2: expected second header value (a whole number the program does not use), "
       "found \"-2147483649\", which is outside the whole numbers from -2147483648 to 2147483647"},
      {"1 0 1 -1", K::CountOutOfRange,
       "bad.net, line 1: expected number of patterns (fourth header value), found \"-1\", but a "
       "count must lie between 0 and 32767"},
      {"32768 0 1 1", K::CountOutOfRange,
       "bad.net, line 1: expected number of output units (first header value), found \"32768\", "
       "but a count must lie between 0 and 32767"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    PublicStuff s;
    ASSERT_EQ(LoadTrainingText(s, kSet, "good.net"), std::nullopt);
    const auto error = LoadTrainingText(s, c.text, "bad.net");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, c.kind);
    EXPECT_EQ(error->message, c.message);
    ExpectSet(s, 2, 2, 2);
  }
}

// The memory a set is refused for counts the set, the network's weights and changes (16 GiB
// at 32767 x 32767) and the scratch a run takes beside them, which is small.
TEST_F(LoaderFailure, RefusesASetWhoseNetworkDoesNotFitWithWhatItNeeds) {
  PublicStuff s;
  const auto error = LoadTrainingText(s, "32767 0 32767 1\n" + std::string(65534, ','), "bad.net");
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, K::TooLarge);
  const std::string said = "outputs: the set and a network to learn it need ";
  const std::size_t at = error->message.find(said);
  ASSERT_NE(at, std::string::npos) << error->message;
  EXPECT_TRUE(error->message.ends_with(" MB of memory, more than is available"));
  const int megabytes = std::stoi(error->message.substr(at + said.size()));
  EXPECT_TRUE(megabytes >= 16384 && megabytes <= 16384 + 16384 / 50) << error->message;
}

// A file that cannot be opened, read, or held in memory leaves the state untouched.
TEST(LoaderFile, ReportsFilesThatCannotBeReadWhole) {
  const fs::path dir = testing::TempDir();
  PublicStuff s;
  const auto directory = LoadTrainingFile(s, dir);
  ASSERT_TRUE(directory);
  EXPECT_EQ(directory->kind, K::CannotOpen);
  EXPECT_EQ(directory->message, dir.string() + ": cannot read the file (Is a directory)");
#ifdef __EMSCRIPTEN__
  GTEST_SKIP() << "Emscripten's file layer keeps file sizes in 32 bits: no file beyond 2 GB "
                  "can be made here";
#endif
  // A sparse file far larger than the memory of any machine that runs the tests.
  const fs::path huge = dir / "LoaderFile.huge.net";
  std::ofstream(huge, std::ios::binary) << kSet;
  fs::resize_file(huge, std::uintmax_t{1} << 40);
  const auto tooLarge = LoadTrainingFile(s, huge);
  fs::remove(huge);
  ASSERT_TRUE(tooLarge);
  EXPECT_EQ(tooLarge->kind, K::TooLarge);
  EXPECT_EQ(tooLarge->message,
            huge.string() + ": the file (1099511627776 bytes) is too large to read into memory");
  EXPECT_TRUE(s.InputPatterns.empty());
}

// Arrays that cannot be allocated end in TooLarge even when the memory check lets them pass:
// a child process with a small address-space limit loads a set of 2000 x 2000 commas, whose
// 32 MB of arrays do not fit.
TEST(LoaderFile, AllocationFailureIsTooLarge) {
#ifdef __SANITIZE_ADDRESS__
  // AddressSanitizer maps terabytes of shadow memory, so no address-space limit leaves it room.
  GTEST_SKIP() << "an address-space limit cannot be set under AddressSanitizer";
#elif !GTEST_HAS_DEATH_TEST
  GTEST_SKIP() << "no child process can be made here (WebAssembly); the module's own limit "
                  "of 4 GB is checked by its test under node";
#else
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
#endif
}

TEST(ParseDouble, ReadsDecimalNumbersAndRefusesTheRest) {
  const std::pair<const char*, double> numbers[] = {{"+2", 2.0},       {"-0.25", -0.25},
                                                    {"5.", 5.0},       {"1.5E-3", 1.5e-3},
                                                    {"-1e+2", -100.0}, {"1e-400", 0.0}};
  for (const auto& [text, value] : numbers) {
    const ParsedDouble parsed = ParseDouble(text);
    EXPECT_EQ(parsed.status, ParsedDouble::Status::Ok) << text;
    EXPECT_EQ(parsed.value, value) << text;
  }
  EXPECT_TRUE(std::signbit(ParseDouble("-1e-400").value));
  for (const char* text : {"", "+", ".", "e5", "1e", "1e+", "--1", "+-1", "nan", "inf", "-Infinity",
                           "0x10", "1.2.3", "1,5", "1e5x", "\xC2\xBD"}) {
    EXPECT_EQ(ParseDouble(text).status, ParsedDouble::Status::NotANumber) << text;
  }
  for (const char* text : {"1e999", "-1e400", "1000000e303", "1e99999999999999999999999"}) {
    EXPECT_EQ(ParseDouble(text).status, ParsedDouble::Status::TooLarge) << text;
  }
}

// Short values take a quicker road than long ones; both must give the correctly rounded
// double, as the C library reads it.
TEST(ParseDouble, AgreesBitForBitWithStrtod) {
  std::mt19937_64 random(7);
  for (int n = 0; n < 50000; ++n) {
    std::string text = random() % 2 ? "-" : "";
    const int digits = 1 + static_cast<int>(random() % 20);
    const int point = static_cast<int>(random() % (digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    if (random() % 2) text += "e" + std::to_string(static_cast<int>(random() % 61) - 30);
    const double expected = std::strtod(text.c_str(), nullptr);
    const ParsedDouble parsed = ParseDouble(text);
    ASSERT_EQ(parsed.status, ParsedDouble::Status::Ok) << text;
    ASSERT_EQ(std::memcmp(&parsed.value, &expected, sizeof expected), 0) << text;
  }
}

TEST(ParseWhole, DecidesWholenessOnTheDigits) {
  const std::pair<const char*, std::int64_t> wholes[] = {
      {"-4", -4}, {"40e-1", 4}, {"0.4e1", 4}, {"-0", 0}, {"0e999", 0}, {"2147483648", 2147483648}};
  for (const auto& [text, value] : wholes) {
    const ParsedWhole parsed = ParseWhole(text);
    EXPECT_EQ(parsed.status, ParsedWhole::Status::Ok) << text;
    EXPECT_EQ(parsed.value, value) << text;
  }
  EXPECT_EQ(ParseWhole("4.000000000000000000e+00").value, 4);
  // Counts far beyond the 32-bit range stop at a limit.
  EXPECT_EQ(ParseWhole("1e13").value, kWholeLimit);
  EXPECT_EQ(ParseWhole("-1e99999").value, -kWholeLimit);
  // A double would round some of these to whole numbers; the digits show they are not.
  for (const char* text : {"4.5", "4.0000000000000000001", "1e-5", "12345e-1"}) {
    EXPECT_EQ(ParseWhole(text).status, ParsedWhole::Status::NotWhole) << text;
  }
}

}  // namespace
}  // namespace corvel
