// The probe page's block of text and the pattern numbers it accepts.
#include "report/probe_text.h"

#include <gtest/gtest.h>

namespace corvel {
namespace {

TEST(ProbeText, BlockPresentsThePatternWithExactBytes) {
  // Two inputs, two outputs; pattern 2 = (1, 0) wants (0, 1), and the weights from input 1
  // give the responses 0.25 and 0.75.
  PublicStuff s;
  s.NumInputUnits = s.NumOutputUnits = s.NumPatterns = 2;
  s.InputPatterns = Array2D<double>(2, 2);
  s.DesiredOutputs = Array2D<double>(2, 2);
  s.InputPatterns(1, 2) = 1;
  s.DesiredOutputs(2, 2) = 1;
  s.AllocateNetwork();
  s.Connections.Weight(1, 1) = 0.25;
  s.Connections.Weight(2, 1) = 0.75;
  const ConnectionArray weights = s.Connections;

  EXPECT_EQ(ProbeBlock(s, 2, "2", RegionalSettings{}),
            "Pattern: 2\t+1.00\t+.00\t\r\n"
            "---------------\r\n"
            "Response (A):\t+.25\t+.75\t\r\n"
            "Desired  (D):\t+.00\t+1.00\t\r\n"
            "Error  (D-A):\t-.25\t+.25\t\r\n"
            "=============================================\r\n");
  EXPECT_EQ(s.Connections, weights);  // probing changes no weight
  EXPECT_EQ(s.OutputUnits[2].Error, 0.25);

  // The decimal separator follows the regional settings; the pattern text is kept as typed.
  RegionalSettings comma;
  comma.DecimalSeparator = ",";
  EXPECT_EQ(ProbeBlock(s, 1, " 1", comma).substr(0, 26), "Pattern:  1\t+,00\t+,00\t\r\n--");
}

TEST(ProbeText, PatternNumberTakesOnlyAWholeNumberInRange) {
  const struct {
    const char* text;
    std::optional<int> number;
  } cases[] = {{"1", 1},
               {" 3 ", 3},
               {"03", 3},
               {"", std::nullopt},
               {"  ", std::nullopt},
               {"abc", std::nullopt},
               {"2x", std::nullopt},
               {"0", std::nullopt},
               {"-1", std::nullopt},
               {"+1", std::nullopt},
               {"4", std::nullopt},
               {"1.5", std::nullopt},
               {"2.0", std::nullopt},
               {"99999999999", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(PatternNumber(c.text, 3), c.number) << '"' << c.text << '"';
  EXPECT_EQ(PatternNumber("1", 0), std::nullopt);  // a set with no patterns takes none
}

}  // namespace
}  // namespace corvel
