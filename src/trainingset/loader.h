#pragma once
// Training files (*.net): plain-text numbers read value after value in a fixed order.
//   header: number of output units, an unused whole number, number of input units, number of
//           patterns (each a 32-bit integer; counts 0..32767);
//   then the input values pattern by pattern (units 1..inputs of pattern 1, then pattern 2, ...);
//   then the desired output values pattern by pattern.
// The line structure carries no meaning; anything after the last needed value is never read.

#include <filesystem>
#include <optional>
#include <string>

#include "state/public_stuff.h"

namespace corvel {

struct LoadError {
  enum class Kind {
    CannotOpen,       // the file could not be opened or read
    EndsEarly,        // the file ended before every value was read
    NotANumber,       // a value is not a decimal number (or does not fit a double)
    NotAWholeNumber,  // a header value is not a whole number in the 32-bit range
    CountOutOfRange,  // a count is below 0 or above 32767
    TooLarge,         // the arrays for the given counts cannot be allocated
  };
  Kind kind;
  std::string message;  // names the file, the line, the value expected and what was found
};

// Loads the training set of the file at `path` into the state: the three counts,
// InputPatterns and DesiredOutputs. The file is read into temporaries first, so on failure
// the state is left exactly as it was and the error is returned. TrainingFileName is the
// caller's to set.
std::optional<LoadError> LoadTrainingFile(PublicStuff& s, const std::filesystem::path& path);

}  // namespace corvel
