#pragma once
// Reading and checking the training parameters from the texts of the set-up page's boxes.
// The set-up page and the batch program both go through here, so a value one refuses the
// other refuses with the same message.

#include <optional>
#include <string>

#include "learning/engine.h"
#include "state/public_stuff.h"

namespace corvel {

// What the page's controls hold when a run is started or continued.
struct ParameterBoxes {
  bool MaxSweepsChecked = true;  // Check1(0) "End After A Maximum Number Of Training Epochs"
  bool MinSSEChecked = false;    // Check1(1) "End When A Minimum Level Of Error Has Been Reached"
  std::string SweepsBox = "100";
  std::string LRateBox = "0.10";
  std::string PrintSweepsBox = "10";
  std::string MinErrorBox = "0.05";
};

// One of the three refusals: a warning message box with this text and title. The box whose
// value the refusal restores has already been reset in the ParameterBoxes passed in.
struct ParameterRefusal {
  std::string Text;
  std::string Title;
};

struct ParameterOutcome {
  bool Accepted = false;                    // the run may start
  std::optional<ParameterRefusal> Refusal;  // set when a check refused a value
  std::optional<RunFailure> Failure;        // set when a box held no number or too large a one
};

// Stores the stopping flags, converts the boxes in a fixed order and either refuses (and
// resets the offending box), fails on a text that is not a number, or stores LearningRate,
// PrintSweeps, MinSSE (when its box is not empty) and MaxSweeps (the box's number for a new
// run, SweepCount plus it for a continued one) and accepts. Fields stored before a failing
// step keep their new values. Disabling controls is the page's part.
ParameterOutcome ReadTrainingParameters(PublicStuff& s, ParameterBoxes& boxes);

// Converts a box's text to a number as the page reads it: optional blanks, a sign, digits
// with an optional period and exponent. Empty or other text gives no value.
std::optional<double> BoxNumber(const std::string& text);

}  // namespace corvel
