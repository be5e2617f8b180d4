#include "learning/training_parameters.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace corvel {
namespace {

struct Reading {
  PublicStuff state;
  ParameterBoxes boxes;
  ParameterOutcome outcome;
};

// Reads `boxes` into a state whose learning parameters hold recognisable earlier values (7).
Reading Read(ParameterBoxes boxes, std::int16_t newRun = 1, std::int32_t sweepCount = 0) {
  Reading r{PublicStuff{}, std::move(boxes), {}};
  r.state.NewRun = newRun;
  r.state.SweepCount = sweepCount;
  r.state.LearningRate = 7;
  r.state.PrintSweeps = 7;
  r.state.MinSSE = 7;
  r.state.MaxSweeps = 7;
  r.outcome = ReadTrainingParameters(r.state, r.boxes);
  return r;
}

// The boxes as a failed case shows them: the two checks, then the four texts.
std::string Describe(const ParameterBoxes& b) {
  return std::to_string(b.MaxSweepsChecked) + std::to_string(b.MinSSEChecked) + " [" + b.SweepsBox +
         "] [" + b.LRateBox + "] [" + b.PrintSweepsBox + "] [" + b.MinErrorBox + "]";
}

// Boxes in the tables below: {max checked, min checked, sweeps, rate, printouts, min error}.
TEST(ReadTrainingParameters, AcceptsAndStoresEveryParameter) {
  const struct {
    ParameterBoxes boxes;
    std::int16_t newRun;
    std::int32_t sweepCount, maxSweeps, printSweeps;
    double rate, minSSE;
  } cases[] = {
      // Counts round ties to even.
      {{true, true, "2.5", "+.25", " 3.5 ", "1e-3"}, 1, 0, 2, 4, 0.25, 1e-3},
      // A continued run counts the box on from SweepCount.
      {{true, false, "50", "0.10", "10", "0.05"}, 0, 100, 150, 10, 0.1, 0.05},
      // A zero rate is accepted; an unchecked maximum and an empty minimum-error box keep the
      // earlier values.
      {{false, true, "0", "0", "10", ""}, 1, 0, 7, 10, 0, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.boxes));
    const Reading r = Read(c.boxes, c.newRun, c.sweepCount);
    EXPECT_TRUE(r.outcome.Accepted);
    EXPECT_EQ(r.state.StopAtMaxSweeps, c.boxes.MaxSweepsChecked ? 1 : 0);
    EXPECT_EQ(r.state.StopAtMinSSE, c.boxes.MinSSEChecked ? 1 : 0);
    EXPECT_EQ(r.state.MaxSweeps, c.maxSweeps);
    EXPECT_EQ(r.state.PrintSweeps, c.printSweeps);
    EXPECT_EQ(r.state.LearningRate, c.rate);
    EXPECT_EQ(r.state.MinSSE, c.minSSE);
  }
}

// The checks run in order (sweeps, stopping method, rate); a refusal resets its own box and
// stores nothing read after it.
TEST(ReadTrainingParameters, RefusalsResetTheirBox) {
  const auto fields = [](const ParameterBoxes& b) {
    return std::tie(b.MaxSweepsChecked, b.MinSSEChecked, b.SweepsBox, b.LRateBox);
  };
  const ParameterRefusal epochs{"Maximum number of training epochs must be greater than zero.",
                                "Maximum Epochs"};
  const ParameterRefusal stopping{"At least one box for method of ending training must be checked.",
                                  "No stopping method set"};
  const ParameterRefusal rate{"Learning rate cannot be negative", "Learning Rate"};
  const struct {
    ParameterBoxes boxes, after;
    const ParameterRefusal& refusal;
    double rate;
  } cases[] = {
      {{true, false, "0"}, {true, false, "1"}, epochs, 7},
      {{true, false, "0.4"}, {true, false, "1"}, epochs, 7},  // would never be reached
      {{true, false, "-1", "-1"}, {true, false, "1", "-1"}, epochs, 7},
      {{false, false, "0"}, {true, true, "0"}, stopping, 7},
      {{true, false, "100", "-0.5"}, {true, false, "100", "0.10"}, rate, 0.1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.boxes));
    const Reading r = Read(c.boxes);
    EXPECT_FALSE(r.outcome.Accepted);
    EXPECT_FALSE(r.outcome.Failure);
    ASSERT_TRUE(r.outcome.Refusal);
    EXPECT_EQ(r.outcome.Refusal->Text, c.refusal.Text);
    EXPECT_EQ(r.outcome.Refusal->Title, c.refusal.Title);
    EXPECT_EQ(fields(r.boxes), fields(c.after));
    EXPECT_EQ(r.state.StopAtMaxSweeps, c.boxes.MaxSweepsChecked ? 1 : 0);  // stored first
    EXPECT_EQ(r.state.LearningRate, c.rate);
  }
}

// A box that holds no number, or one too large, fails with the classic run-time error and
// the text quoted; values stored before the failing box keep their new values.
TEST(ReadTrainingParameters, TextsThatAreNoNumberFail) {
  const struct {
    ParameterBoxes boxes;
    const char* text;
    int code;
    double rate;
  } cases[] = {
      {{true, false, "100", "abc"}, "abc", 13, 7},
      {{true, false, "100", "0,5"}, "0,5", 13, 7},
      {{true, false, "1e"}, "1e", 13, 7},
      {{false, false, "abc"}, "abc", 13, 7},  // converted before the stopping check
      {{true, false, "100", "0.10", "ten"}, "ten", 13, 0.1},
      {{true, false, "100", "0.10", "10", " "}, " ", 13, 0.1},
      {{true, false, "100", "1e-400", "x"}, "x", 13, 0.0},  // too small a rate is zero
      {{true, false, "100", "0.10", "3e9"}, "3e9", kOverflowCode, 0.1},
      {{true, false, "2147483648"}, "2147483648", kOverflowCode, 0.1},
      {{true, false, "100", "1e400"}, "1e400", kOverflowCode, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.boxes));
    const Reading r = Read(c.boxes);
    EXPECT_FALSE(r.outcome.Accepted);
    EXPECT_FALSE(r.outcome.Refusal);
    ASSERT_TRUE(r.outcome.Failure);
    EXPECT_EQ(r.outcome.Failure->Code, c.code);
    EXPECT_NE(r.outcome.Failure->Description.find(std::string("\"") + c.text + "\""),
              std::string::npos);
    EXPECT_EQ(r.state.LearningRate, c.rate);
  }
}

}  // namespace
}  // namespace corvel
