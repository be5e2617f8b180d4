#pragma once
// The results report: a fixed header and up to seven sections about the trained memory, as
// plain text with exact line ends. Closed lines end CR CR LF; table rows put a TAB after
// every cell and end CR CR LF; rows of the SSE history end CR LF only.

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "report/formats.h"
#include "report/replace_file.h"
#include "state/public_stuff.h"

namespace corvel {

// The section switches, indexed like the save page's check boxes Check1(0)..Check1(6). The
// file always holds the sections in the order general, responses, errors, weights, input
// patterns, desired outputs, SSE history, whatever the box numbers.
enum ReportSection : int {
  kInputPatternsSection = 0,   // "Input Patterns"
  kGeneralSection = 1,         // "General Information (Training info etc.)"
  kResponsesSection = 2,       // "Network Responses"
  kErrorsSection = 3,          // "Network Errors"
  kWeightsSection = 4,         // "Connection Weights"
  kDesiredOutputsSection = 5,  // "Output Patterns"
  kSSEHistorySection = 6,      // "Network SSE As A Function Of Sweeps"
};
constexpr int kReportSectionCount = 7;
using ReportSections = std::array<bool, kReportSectionCount>;

// The save page's initial choice: general information, responses, errors and weights.
constexpr ReportSections kDefaultReportSections{false, true, true, true, true, false, false};

// The whole report as bytes. Sections 2 and 3 present every pattern through ComputeResponse,
// so afterwards the output units hold the response to the last pattern. The state must hold
// a loaded training set and an allocated network; rows of the SSE history beyond 2000 are
// never read.
std::string ResultsReportText(PublicStuff& s, const ReportSections& sections,
                              const LocalDateTime& when, const RegionalSettings& rs);

// Puts the report at `path` through ReplaceFileWith, written as it is made: an earlier file
// there is replaced only by a complete report.
std::optional<FileWriteError> WriteResultsReport(PublicStuff& s, const std::filesystem::path& path,
                                                 const ReportSections& sections,
                                                 const LocalDateTime& when,
                                                 const RegionalSettings& rs);

}  // namespace corvel
