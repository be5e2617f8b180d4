#pragma once
// Training files (*.net): plain-text numbers read value after value in a fixed order.
//   header: number of output units, an unused whole number, number of input units, number of
//           patterns;
//   then the input values pattern by pattern (units 1..inputs of pattern 1, then pattern 2, ...);
//   then the desired output values pattern by pattern.
// The line structure carries no meaning; anything after the last needed value is never read.
//
// How the text is read (see trainingset/value_scanner.h and number_text.h for the details):
//  - spaces, tabs, CR and LF separate values, and so does a comma, with or without white space
//    around it; an empty field (two commas with only white space between them, or a comma
//    before the first value) reads as 0; a UTF-8 byte-order mark at the start is skipped;
//  - numbers use a period as the decimal point whatever the locale; "nan" and "inf" are not
//    numbers; a pattern value too large for a double ("1e999") is refused, one too small for
//    it ("1e-999") reads as 0;
//  - header values are whole numbers in the 32-bit range; "4", "+4", "4.0" and "4e0" all read 4
//    (numeric tools write whole numbers with a zero fraction), "4.5" is refused;
//  - the three counts lie in 0..32767 (every loop over units and patterns has a 16-bit
//    counter); the unused second value may be any 32-bit whole number, negative too.
// Messages name the file as it was given, the line, the value expected and what was found:
//   bad.net, line 3: expected input 3 of pattern 2, found "abc", which is not a number
//   bad.net, line 9: expected desired output 1 of pattern 4, found end of file

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "state/public_stuff.h"

namespace corvel {

struct LoadError {
  enum class Kind {
    CannotOpen,       // the file could not be opened or read
    EndsEarly,        // the file ended before every value was read
    NotANumber,       // a value is not a decimal number (or does not fit a double)
    NotAWholeNumber,  // a header value is not a whole number in the 32-bit range
    CountOutOfRange,  // a count is below 0 or above 32767
    TooLarge,         // the file or the arrays for the given counts do not fit in memory
  };
  Kind kind;
  std::string message;  // names the file, the line, the value expected and what was found
};

// Loads the training set of the file at `path` into the state: the three counts,
// InputPatterns and DesiredOutputs. The file is read into memory in one go and parsed into
// temporaries, so on failure the state is left exactly as it was and the error is returned.
// Before the arrays are created, the header's counts are checked against the length of the
// file (each value needs at least one byte) and against the memory available for the set,
// the network made for it and the scratch a run takes beside it, so a header announcing
// 32767 x 32767 values ends in an error, not in the out-of-memory killer or in a set that
// can never be trained.
// TrainingFileName is the caller's to set.
std::optional<LoadError> LoadTrainingFile(PublicStuff& s, const std::filesystem::path& path);

// The same for a file's text already in memory; `fileLabel` names the file in messages.
std::optional<LoadError> LoadTrainingText(PublicStuff& s, std::string_view text,
                                          std::string_view fileLabel);

}  // namespace corvel
