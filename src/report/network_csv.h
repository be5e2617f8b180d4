#pragma once
// The weights and every pattern's response as comma-separated values for a spreadsheet, each
// number the shortest text that reads back to the same double (AppendShortest), lines ending
// LF. Both are given to a sink a piece at a time, so a large memory is never held as text.
//
// Weights, laid out as the report's weights section: the header ",Out 1,...,Out M", then a
// row "INP i,w,...,w" per input unit with its weight to each output unit.
//   ",Out 1,Out 2\nINP 1,0.5,-0.25\nINP 2,1,0\n"
//
// Responses: the header "Pattern,Response 1,...,Response M,Desired 1,...,Desired M,
// Error 1,...,Error M,SSE", then a row per pattern, as presenting the pattern on the probe
// page makes them: the response, the desired output and the error (desired minus response) of
// each output unit, and the pattern's SSE.

#include "report/replace_file.h"
#include "state/public_stuff.h"

namespace corvel {

// False as soon as the sink refuses a piece. The network must fit the training set.
bool WriteWeightsCsv(const PublicStuff& s, const ByteSink& sink);
bool WriteResponsesCsv(const PublicStuff& s, const ByteSink& sink);

}  // namespace corvel
