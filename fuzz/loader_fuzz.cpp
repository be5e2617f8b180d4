// Feeds arbitrary bytes to the training-file parser. Every input must end in a loaded set
// that matches its header, or in an error with a message that leaves the set loaded before
// it untouched; never a crash, a hang, a leak or a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "trainingset/loader.h"

namespace {

struct TrainingSetCopy {
  std::int32_t inputs, outputs, patterns;
  corvel::Array2D<double> in, out;

  explicit TrainingSetCopy(const corvel::PublicStuff& s)
      : inputs(s.NumInputUnits),
        outputs(s.NumOutputUnits),
        patterns(s.NumPatterns),
        in(s.InputPatterns),
        out(s.DesiredOutputs) {}
  bool SameAs(const corvel::PublicStuff& s) const {
    return inputs == s.NumInputUnits && outputs == s.NumOutputUnits && patterns == s.NumPatterns &&
           in == s.InputPatterns && out == s.DesiredOutputs;
  }
};

bool InRange(std::int32_t count) { return count >= 0 && count <= corvel::kMaxCount; }

// A loaded set has counts in range and arrays of exactly their size.
bool Consistent(const corvel::PublicStuff& s) {
  return InRange(s.NumInputUnits) && InRange(s.NumOutputUnits) && InRange(s.NumPatterns) &&
         s.InputPatterns.upperA() == s.NumInputUnits && s.InputPatterns.upperB() == s.NumPatterns &&
         s.DesiredOutputs.upperA() == s.NumOutputUnits &&
         s.DesiredOutputs.upperB() == s.NumPatterns;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One state for the whole run, as in the program: each input loads over the last set.
  static corvel::PublicStuff s;
  const TrainingSetCopy before(s);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto error = corvel::LoadTrainingText(s, text, "fuzz.net")) {
    if (error->message.empty() || !before.SameAs(s)) std::abort();
  } else if (!Consistent(s)) {
    std::abort();
  }
  return 0;
}
