#pragma once
// What "Print The Text In The Window" sends to the printer.

#include "platform/printer.h"

namespace corvel {

// An empty line; then in Courier 10 bold "Results Of Testing Distributed Memory On " and the
// training file's name; bold off; an empty line; then each line of `resultsText` (lines end
// CR LF; the line end after the last line starts no further line).
PrintDocument ProbePrintout(const QString& trainingFileName, const QString& resultsText);

}  // namespace corvel
