#pragma once
// The probe page's text: one block per presented pattern, and which pattern numbers the
// page accepts.

#include <optional>
#include <string>
#include <string_view>

#include "report/formats.h"
#include "state/public_stuff.h"

namespace corvel {

// Presents pattern p through ComputeResponse and returns its six-line block. Every value is
// in the signed format and followed by a TAB; every line ends CR LF:
//   "Pattern: " + patternText + TAB, then each input value of pattern p
//   "---------------"
//   "Response (A):" + TAB, then each output unit's Activation
//   "Desired  (D):" + TAB, then each desired output of pattern p
//   "Error  (D-A):" + TAB, then each output unit's Error
//   "============================================="
// For inputs (1, 0), desired (0, 1) and responses (0.25, 0.75) the rows read
// "Pattern: 2\t+1.00\t+.00\t\r\n", "Response (A):\t+.25\t+.75\t\r\n", and so on.
// The state must hold a network that fits its training set, and 1 <= p <= NumPatterns.
std::string ProbeBlock(PublicStuff& s, int p, std::string_view patternText,
                       const RegionalSettings& rs);

// The pattern `text` names: digits only, blanks around them allowed, a value from 1 to
// numPatterns. Nothing for anything else (empty, letters, a sign, a fraction, 0, too big).
std::optional<int> PatternNumber(std::string_view text, int numPatterns);

}  // namespace corvel
