#include "report/formats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "report/failure_text.h"
#include "report/probe_text.h"
#include "report/progress_text.h"

namespace corvel {
namespace {

RegionalSettings Settings(const std::string& name, const std::string& kind) {
  RegionalSettings rs;
  if (name == "de") {
    rs.DecimalSeparator = ",";
    rs.ThousandsSeparator = ".";
    rs.ShortDatePattern = "dd.MM.yyyy";
    rs.LongTimePattern = "HH:mm:ss";
  } else if (name != "en") {
    (kind == "date" ? rs.ShortDatePattern : rs.LongTimePattern) = name;
  }
  return rs;
}

std::string Format(const std::string& kind, const std::string& input, const std::string& settings) {
  const RegionalSettings rs = Settings(settings, kind);
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

TEST(Formats, ProgressAndFailureTexts) {
  const RegionalSettings english;
  EXPECT_EQ(TrainingFileText("xor.net"), "Training: xor.net");
  EXPECT_EQ(EpochsText(10), "Epochs: 10");
  EXPECT_EQ(TotalSSEText(1234.5, english), "Total SSE: 1,234.50");
  EXPECT_EQ(SSEChangeText(-0.000123, english), "Change in SSE: -1.23E-04");
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
