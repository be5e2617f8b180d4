#include "learning/training_parameters.h"

#include <gtest/gtest.h>

#include <string>

namespace corvel {
namespace {

constexpr const char* kEpochsText = "Maximum number of training epochs must be greater than zero.";
constexpr const char* kStoppingText =
    "At least one box for method of ending training must be checked.";
constexpr const char* kRateText = "Learning rate cannot be negative";

struct Reading {
  PublicStuff state;
  ParameterBoxes boxes;
  ParameterOutcome outcome;
};

// Reads `boxes` into a state whose learning parameters hold recognisable earlier values.
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

void ExpectRefusal(const Reading& r, const std::string& text, const std::string& title) {
  EXPECT_FALSE(r.outcome.Accepted);
  EXPECT_FALSE(r.outcome.Failure);
  ASSERT_TRUE(r.outcome.Refusal);
  EXPECT_EQ(r.outcome.Refusal->Text, text);
  EXPECT_EQ(r.outcome.Refusal->Title, title);
}

TEST(ReadTrainingParameters, AcceptsAndStoresEveryParameter) {
  ParameterBoxes boxes;
  boxes.MinSSEChecked = true;
  boxes.SweepsBox = "2.5";  // ties go to the even number
  boxes.PrintSweepsBox = " 3.5 ";
  boxes.LRateBox = "+.25";
  boxes.MinErrorBox = "1e-3";
  const Reading r = Read(boxes);
  EXPECT_TRUE(r.outcome.Accepted);
  EXPECT_EQ(r.state.StopAtMaxSweeps, 1);
  EXPECT_EQ(r.state.StopAtMinSSE, 1);
  EXPECT_EQ(r.state.MaxSweeps, 2);
  EXPECT_EQ(r.state.PrintSweeps, 4);
  EXPECT_EQ(r.state.LearningRate, 0.25);
  EXPECT_EQ(r.state.MinSSE, 1e-3);

  // A continued run counts the box on from SweepCount; an empty minimum-error box and an
  // unchecked maximum keep the earlier values; a zero rate is accepted.
  boxes.SweepsBox = "50";
  EXPECT_EQ(Read(boxes, 0, 100).state.MaxSweeps, 150);
  boxes.MaxSweepsChecked = false;
  boxes.MinErrorBox = "";
  boxes.LRateBox = "0";
  const Reading kept = Read(boxes);
  EXPECT_TRUE(kept.outcome.Accepted);
  EXPECT_EQ(kept.state.MaxSweeps, 7);
  EXPECT_EQ(kept.state.MinSSE, 7);
  EXPECT_EQ(kept.state.LearningRate, 0);
}

TEST(ReadTrainingParameters, TheThreeRefusalsResetTheirValue) {
  ParameterBoxes boxes;
  boxes.SweepsBox = "0";
  Reading r = Read(boxes);
  ExpectRefusal(r, kEpochsText, "Maximum Epochs");
  EXPECT_EQ(r.boxes.SweepsBox, "1");
  EXPECT_EQ(r.state.LearningRate, 7);  // nothing after the check was stored
  boxes.SweepsBox = "0.4";             // would round to a maximum that is never reached
  ExpectRefusal(Read(boxes), kEpochsText, "Maximum Epochs");

  boxes.SweepsBox = "0";  // accepted with the maximum unchecked...
  boxes.MaxSweepsChecked = false;
  r = Read(boxes);  // ...but then no stopping method is left
  ExpectRefusal(r, kStoppingText, "No stopping method set");
  EXPECT_TRUE(r.boxes.MaxSweepsChecked);
  EXPECT_TRUE(r.boxes.MinSSEChecked);
  EXPECT_EQ(r.state.StopAtMaxSweeps, 0);  // the flags were stored before the check

  boxes = ParameterBoxes{};
  boxes.LRateBox = "-0.5";
  r = Read(boxes);
  ExpectRefusal(r, kRateText, "Learning Rate");
  EXPECT_EQ(r.boxes.LRateBox, "0.10");
  EXPECT_EQ(r.state.LearningRate, 0.1);
}

TEST(ReadTrainingParameters, ChecksRunInOrder) {
  ParameterBoxes boxes;
  boxes.SweepsBox = "-1";
  boxes.LRateBox = "-1";
  ExpectRefusal(Read(boxes), kEpochsText, "Maximum Epochs");
  boxes.SweepsBox = "abc";  // the sweeps box is converted before anything is checked
  boxes.MaxSweepsChecked = false;
  EXPECT_TRUE(Read(boxes).outcome.Failure);
  boxes.SweepsBox = "10";
  ExpectRefusal(Read(boxes), kStoppingText, "No stopping method set");
}

TEST(ReadTrainingParameters, TextsThatAreNoNumberFail) {
  struct Case {
    const char* name;
    std::string ParameterBoxes::*box;
    const char* text;
    int code;
  };
  const Case cases[] = {
      {"letters in the rate", &ParameterBoxes::LRateBox, "abc", 13},
      {"comma in the rate", &ParameterBoxes::LRateBox, "0,5", 13},
      {"bare exponent", &ParameterBoxes::SweepsBox, "1e", 13},
      {"letters in the printouts", &ParameterBoxes::PrintSweepsBox, "ten", 13},
      {"blank minimum error", &ParameterBoxes::MinErrorBox, " ", 13},
      {"printouts beyond 32 bits", &ParameterBoxes::PrintSweepsBox, "3e9", kOverflowCode},
      {"sweeps beyond 32 bits", &ParameterBoxes::SweepsBox, "2147483648", kOverflowCode},
      {"rate beyond a double", &ParameterBoxes::LRateBox, "1e400", kOverflowCode},
  };
  for (const Case& c : cases) {
    ParameterBoxes boxes;
    boxes.*c.box = c.text;
    const Reading r = Read(boxes);
    EXPECT_FALSE(r.outcome.Accepted) << c.name;
    EXPECT_FALSE(r.outcome.Refusal) << c.name;
    ASSERT_TRUE(r.outcome.Failure) << c.name;
    EXPECT_EQ(r.outcome.Failure->Code, c.code) << c.name;
    EXPECT_NE(r.outcome.Failure->Description.find(std::string("\"") + c.text + "\""),
              std::string::npos)
        << c.name;
  }
  // A magnitude too small for a double is zero, not a failure; fields stored before a
  // failing step keep their new values.
  ParameterBoxes boxes;
  boxes.LRateBox = "1e-400";
  boxes.PrintSweepsBox = "x";
  const Reading r = Read(boxes);
  EXPECT_TRUE(r.outcome.Failure);
  EXPECT_EQ(r.state.LearningRate, 0.0);
}

}  // namespace
}  // namespace corvel
