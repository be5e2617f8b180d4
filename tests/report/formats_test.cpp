#include "report/formats.h"

#include <gtest/gtest.h>

#include <limits>
#include <span>
#include <string>

#include "report/failure_text.h"
#include "report/progress_text.h"

namespace corvel {
namespace {

struct Case {
  double value;
  std::string text;
};

const RegionalSettings kEnglish;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();

RegionalSettings German() {
  RegionalSettings rs;
  rs.DecimalSeparator = ",";
  rs.ThousandsSeparator = ".";
  rs.ShortDatePattern = "dd.MM.yyyy";
  rs.LongTimePattern = "HH:mm:ss";
  return rs;
}

// Each value in English; non-finite values are written, not failed on.
void ExpectTable(std::span<const Case> cases,
                 std::string (*format)(double, const RegionalSettings&)) {
  for (const Case& c : cases) EXPECT_EQ(format(c.value, kEnglish), c.text) << "value " << c.value;
}

TEST(NumberFormats, SignedTwoDecimals) {
  // Halves away from zero on the exact binary value: x.125 is exact, 0.145 and 1.005 lie
  // just below their halves, 99.995 just above.
  const Case cases[] = {
      {0, "+.00"},         {0.5, "+.50"},        {1, "+1.00"},
      {-0.25, "-.25"},     {-12.3456, "-12.35"}, {1234.5, "+1234.50"},
      {-0.004, "-.00"},    {-0.0, "+.00"},       {1e20, "+100000000000000000000.00"},
      {0.125, "+.13"},     {-0.125, "-.13"},     {2.5e-3, "+.00"},
      {0.145, "+.14"},     {1.005, "+1.00"},     {12.345, "+12.35"},
      {99.995, "+100.00"}, {0.999, "+1.00"},     {-0.995, "-.99"},
      {kInf, "+Inf"},      {-kInf, "-Inf"}};
  ExpectTable(cases, FormatSigned2);
  EXPECT_EQ(FormatSigned2(1234.5, German()), "+1234,50");
}

TEST(NumberFormats, WholeNumber) {
  const Case cases[] = {{7, "7"},   {12, "12"}, {0, ""},      {12.5, "13"},
                        {-3, "-3"}, {0.4, ""},  {kNaN, "NaN"}};
  ExpectTable(cases, [](double v, const RegionalSettings&) { return FormatWhole(v); });
}

TEST(NumberFormats, Standard) {
  const Case cases[] = {{0, "0.00"},           {10, "10.00"},        {1500, "1,500.00"},
                        {-2.5, "-2.50"},       {1234.5, "1,234.50"}, {1234567.891, "1,234,567.89"},
                        {999.995, "1,000.00"}, {0.125, "0.13"},      {kNaN, "NaN"}};
  ExpectTable(cases, FormatStandard);
  EXPECT_EQ(FormatStandard(1500, German()), "1.500,00");
}

TEST(NumberFormats, Scientific) {
  // 1245 is an exact half (away from zero); 9.995 lies just below one; carries grow the
  // exponent; three-digit exponents are written whole.
  const Case cases[] = {
      {1234.5, "1.23E+03"}, {0.000345, "3.45E-04"},   {1, "1.00E+00"},      {0, "0.00E+00"},
      {-0.5, "-5.00E-01"},  {-0.000123, "-1.23E-04"}, {0.0123, "1.23E-02"}, {1245, "1.25E+03"},
      {1235, "1.24E+03"},   {9.995, "9.99E+00"},      {9.999, "1.00E+01"},  {1e-300, "1.00E-300"},
      {6.5625, "6.56E+00"}, {-19.6875, "-1.97E+01"},  {kTiny, "4.94E-324"}, {-kInf, "-Inf"}};
  ExpectTable(cases, FormatScientific);
  EXPECT_EQ(FormatScientific(-0.5, German()), "-5,00E-01");
}

TEST(NumberFormats, GeneralNumberText) {
  const Case cases[] = {{0.1, "0.1"},         {0.05, "0.05"},     {2, "2"},
                        {-2.5, "-2.5"},       {0, "0"},           {0.0001, "0.0001"},
                        {1.5e-05, "1.5E-05"}, {1e15, "1E+15"},    {1.25e100, "1.25E+100"},
                        {0.0625, "0.0625"},   {6.5625, "6.5625"}, {-1e-20, "-1E-20"},
                        {kInf, "Inf"}};
  ExpectTable(cases, GeneralNumberText);
  EXPECT_EQ(GeneralNumberText(999999999999999.9, kEnglish), "1E+15");
  EXPECT_EQ(GeneralNumberText(1.0 / 3.0, kEnglish), "0.333333333333333");
  EXPECT_EQ(GeneralNumberText(123456789012345.0, kEnglish), "123456789012345");
  EXPECT_EQ(GeneralNumberText(0.1, German()), "0,1");
}

TEST(NumberFormats, IntegerText) {
  EXPECT_EQ(IntegerText(42), "42");
  EXPECT_EQ(IntegerText(-3), "-3");
  EXPECT_EQ(IntegerText(0), "0");
}

TEST(DateTimeFormats, EnglishUnitedStates) {
  EXPECT_EQ(DateText({2026, 12, 4, 2, 20, 35}, kEnglish), "12/4/2026");
  EXPECT_EQ(TimeText({2026, 12, 4, 2, 20, 35}, kEnglish), "2:20:35 AM");
  EXPECT_EQ(TimeText({2026, 1, 1, 0, 5, 9}, kEnglish), "12:05:09 AM");
  EXPECT_EQ(TimeText({2026, 1, 1, 12, 0, 0}, kEnglish), "12:00:00 PM");
  EXPECT_EQ(TimeText({2026, 1, 1, 23, 59, 59}, kEnglish), "11:59:59 PM");
}

TEST(DateTimeFormats, OtherPatterns) {
  const LocalDateTime when{2026, 3, 4, 14, 7, 5};
  EXPECT_EQ(DateText(when, German()), "04.03.2026");
  EXPECT_EQ(TimeText(when, German()), "14:07:05");
  RegionalSettings rs;
  rs.ShortDatePattern = "d.MM.yyyy 'г'.";
  rs.LongTimePattern = "ap h 'o''clock' m";
  rs.PMText = "PM";
  EXPECT_EQ(DateText(when, rs), "4.03.2026 г.");
  EXPECT_EQ(TimeText(when, rs), "pm 2 o'clock 7");
  rs.ShortDatePattern = "yy/M/d";
  EXPECT_EQ(DateText(when, rs), "26/3/4");
}

TEST(ProgressTexts, BoxTexts) {
  EXPECT_EQ(TrainingFileText("xor.net"), "Training: xor.net");
  EXPECT_EQ(EpochsText(10), "Epochs: 10");
  EXPECT_EQ(TotalSSEText(1234.5, kEnglish), "Total SSE: 1,234.50");
  EXPECT_EQ(SSEChangeText(-0.000123, kEnglish), "Change in SSE: -1.23E-04");
}

TEST(FailureReport, Texts) {
  EXPECT_EQ(FailureReportText(7, "Out of memory"),
            "Out of memory error: \rPlease try closing some applications and retrying.\r");
  EXPECT_EQ(FailureReportText(6, "Overflow"),
            "This version of the code has encountered an error.\r"
            "It would be helpful if you could report this error to the Corvel Duvu issue "
            "tracker\r"
            "Please include the following error message as well as\r"
            "where the error occured and what version of windows you are using:\r"
            "Overflow ");
}

}  // namespace
}  // namespace corvel
