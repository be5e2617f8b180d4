// The pieces under the loader: splitting text into fields and reading numbers from them.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "trainingset/number_text.h"
#include "trainingset/value_scanner.h"

namespace corvel::detail {
namespace {

// The fields of a text as "<value>@<line>", "()@<line>" for an empty one and "end@<line>".
std::string Fields(std::string_view text) {
  ValueScanner scanner(text);
  std::string out;
  for (Field f = scanner.Next();; f = scanner.Next()) {
    const std::string what = f.kind == Field::Kind::Value   ? std::string(f.text)
                             : f.kind == Field::Kind::Empty ? "()"
                                                            : "end";
    out += what + "@" + std::to_string(f.line);
    if (f.kind == Field::Kind::End) return out;
    out += ' ';
  }
}

TEST(ValueScanner, SplitsOnWhiteSpaceAndCommasAndCountsLines) {
  EXPECT_EQ(Fields("1 2\t3"), "1@1 2@1 3@1 end@1");
  EXPECT_EQ(Fields("1, 2 ,3,"), "1@1 2@1 3@1 end@1");
  EXPECT_EQ(Fields(",2,,x;y"), "()@1 2@1 ()@1 x;y@1 end@1");
  EXPECT_EQ(Fields("1,\n,3"), "1@1 ()@2 3@2 end@2");
  EXPECT_EQ(Fields("1\r\n2\r3\n\n4"), "1@1 2@2 3@3 4@5 end@5");
  // A break that ends the text closes the last line; blank lines after it count.
  EXPECT_EQ(Fields("\xEF\xBB\xBF"
                   "7\r\n"),
            "7@1 end@1");
  EXPECT_EQ(Fields("1\n\n\n"), "1@1 end@3");
  EXPECT_EQ(Fields(""), "end@1");
}

TEST(ParseDouble, ReadsDecimalNumbersAndRefusesTheRest) {
  const std::pair<const char*, double> numbers[] = {
      {"+2", 2.0},  {"-0.25", -0.25},   {".5", 0.5},
      {"5.", 5.0},  {"1.5E-3", 1.5e-3}, {"-1e+2", -100.0},
      {"007", 7.0}, {"1e-400", 0.0},    {"1.7976931348623157e308", 1.7976931348623157e308}};
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

// Short values take a quicker road than from_chars; both must give the same double.
TEST(ParseDouble, AgreesBitForBitWithFromChars) {
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
    double expected = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    const ParsedDouble parsed = ParseDouble(text);
    ASSERT_EQ(parsed.status, ParsedDouble::Status::Ok) << text;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(parsed.value), std::bit_cast<std::uint64_t>(expected))
        << text;
  }
}

TEST(ParseWhole, DecidesWholenessOnTheDigits) {
  const std::pair<const char*, std::int64_t> wholes[] = {{"+4", 4},
                                                         {"-4", -4},
                                                         {"4.0", 4},
                                                         {"40e-1", 4},
                                                         {"0.4e1", 4},
                                                         {"4.000000000000000000e+00", 4},
                                                         {"-0", 0},
                                                         {"0e999", 0},
                                                         {"2147483648", 2147483648},
                                                         {"1e13", kWholeLimit},
                                                         {"-1e99999", -kWholeLimit}};
  for (const auto& [text, value] : wholes) {
    const ParsedWhole parsed = ParseWhole(text);
    EXPECT_EQ(parsed.status, ParsedWhole::Status::Ok) << text;
    EXPECT_EQ(parsed.value, value) << text;
  }
  // A double would round some of these to whole numbers; the digits show they are not.
  for (const char* text : {"4.5", "4.0000000000000000001", "1e-5", "12345e-1"}) {
    EXPECT_EQ(ParseWhole(text).status, ParsedWhole::Status::NotWhole) << text;
  }
  for (const char* text : {"", "four", "4,0", "nan", "4e"}) {
    EXPECT_EQ(ParseWhole(text).status, ParsedWhole::Status::NotANumber) << text;
  }
}

}  // namespace
}  // namespace corvel::detail
