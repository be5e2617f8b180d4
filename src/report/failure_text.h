#pragma once
// The message shown when a run-time fault ends a training run or the reading of its
// parameters.

#include <string>

namespace corvel {

// Code 7 (out of memory) gives the out-of-memory text; any other code the general text,
// which asks the user to report the fault and ends with the description and a blank.
// Line breaks are single carriage returns.
std::string FailureReportText(int code, const std::string& description);

}  // namespace corvel
