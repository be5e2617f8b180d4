#include "learning/training_parameters.h"

#include <fast_float/fast_float.h>

#include <cmath>
#include <cstdint>

namespace corvel {
namespace {

enum class Conversion { Ok, NotANumber, TooLarge };

struct Converted {
  Conversion status = Conversion::NotANumber;
  double value = 0.0;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Accepts exactly: blanks, optional sign, digits with an optional period, an optional
// exponent, blanks. Anything else (letters, commas, "inf", an empty text) is not a number.
Converted Convert(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::size_t pos = begin;
  bool negative = false;
  if (pos < end && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  const std::size_t numberStart = pos;
  std::size_t digits = 0;
  while (pos < end && text[pos] >= '0' && text[pos] <= '9') ++pos, ++digits;
  if (pos < end && text[pos] == '.') {
    ++pos;
    while (pos < end && text[pos] >= '0' && text[pos] <= '9') ++pos, ++digits;
  }
  if (digits == 0) return {};
  if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t expDigits = 0;
    while (pos < end && text[pos] >= '0' && text[pos] <= '9') ++pos, ++expDigits;
    if (expDigits == 0) return {};
  }
  if (pos != end) return {};
  // The sign was taken above. fast_float rounds correctly; too large a magnitude comes back
  // infinite, too small a one as zero.
  double value = 0.0;
  const auto [ptr, ec] =
      fast_float::from_chars(text.data() + numberStart, text.data() + end, value);
  if (ec != std::errc() || ptr != text.data() + end) return {};
  if (std::isinf(value)) return {Conversion::TooLarge, 0.0};
  return {Conversion::Ok, negative ? -value : value};
}

RunFailure TypeMismatch(const std::string& boxCaption, const std::string& text) {
  return RunFailure{13,
                    "Type mismatch: \"" + text + "\" in \"" + boxCaption + "\" is not a number"};
}

RunFailure TooLarge(const std::string& boxCaption, const std::string& text) {
  return RunFailure{kOverflowCode,
                    "Overflow: \"" + text + "\" in \"" + boxCaption + "\" is too large"};
}

// Rounds to the nearest 32-bit integer, ties to even, as the page converts its boxes.
std::optional<std::int32_t> RoundToInt32(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

constexpr const char* kSweepsCaption = "Choose The Maximum Number Of Epochs";
constexpr const char* kPrintSweepsCaption =
    "Choose The Number Of Epochs Between Printouts Of Training Information";
constexpr const char* kRateCaption = "Choose A Learning Rate";
constexpr const char* kMinErrorCaption = "Set The Minimum Level Of Error (SSE)  To Stop Training";

ParameterOutcome Failed(RunFailure failure) {
  ParameterOutcome outcome;
  outcome.Failure = std::move(failure);
  return outcome;
}

ParameterOutcome Refused(std::string text, std::string title) {
  ParameterOutcome outcome;
  outcome.Refusal = ParameterRefusal{std::move(text), std::move(title)};
  return outcome;
}

}  // namespace

std::optional<double> BoxNumber(const std::string& text) {
  const Converted c = Convert(text);
  if (c.status != Conversion::Ok) return std::nullopt;
  return c.value;
}

ParameterOutcome ReadTrainingParameters(PublicStuff& s, ParameterBoxes& boxes) {
  // Reads one box, turning a failed conversion into the failure it reports.
  std::optional<RunFailure> failure;
  auto number = [&failure](const std::string& text, const char* caption) -> double {
    const Converted c = Convert(text);
    if (c.status == Conversion::NotANumber) failure = TypeMismatch(caption, text);
    if (c.status == Conversion::TooLarge) failure = TooLarge(caption, text);
    return c.value;
  };

  s.StopAtMaxSweeps = boxes.MaxSweepsChecked ? 1 : 0;
  s.StopAtMinSSE = boxes.MinSSEChecked ? 1 : 0;

  const double sweeps = number(boxes.SweepsBox, kSweepsCaption);
  if (failure) return Failed(*failure);
  // A count above 0 that still rounds to 0 could never be reached, so it is refused as well.
  if (s.StopAtMaxSweeps == 1 && std::nearbyint(sweeps) <= 0.0) {
    boxes.SweepsBox = "1";
    return Refused("Maximum number of training epochs must be greater than zero.",
                   "Maximum Epochs");
  }
  if (s.StopAtMaxSweeps == 0 && s.StopAtMinSSE == 0) {
    boxes.MaxSweepsChecked = true;
    boxes.MinSSEChecked = true;
    return Refused("At least one box for method of ending training must be checked.",
                   "No stopping method set");
  }

  const double rate = number(boxes.LRateBox, kRateCaption);
  if (failure) return Failed(*failure);
  if (rate < 0.0) {
    s.LearningRate = 0.1;
    boxes.LRateBox = "0.10";
    return Refused("Learning rate cannot be negative", "Learning Rate");
  }
  s.LearningRate = rate;

  const double printSweeps = number(boxes.PrintSweepsBox, kPrintSweepsCaption);
  if (failure) return Failed(*failure);
  const std::optional<std::int32_t> printSweepsCount = RoundToInt32(printSweeps);
  if (!printSweepsCount) return Failed(TooLarge(kPrintSweepsCaption, boxes.PrintSweepsBox));
  s.PrintSweeps = *printSweepsCount;

  if (!boxes.MinErrorBox.empty()) {
    const double minSSE = number(boxes.MinErrorBox, kMinErrorCaption);
    if (failure) return Failed(*failure);
    s.MinSSE = minSSE;
  }

  if (s.StopAtMaxSweeps == 1) {
    const double target = s.NewRun == 1 ? sweeps : sweeps + static_cast<double>(s.SweepCount);
    const std::optional<std::int32_t> maxSweeps = RoundToInt32(target);
    if (!maxSweeps) return Failed(TooLarge(kSweepsCaption, boxes.SweepsBox));
    s.MaxSweeps = *maxSweeps;
  }

  ParameterOutcome accepted;
  accepted.Accepted = true;
  return accepted;
}

}  // namespace corvel
