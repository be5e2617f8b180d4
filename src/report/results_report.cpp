#include "report/results_report.h"

#include <algorithm>
#include <future>
#include <optional>
#include <string_view>

#include "learning/engine.h"

namespace corvel {
namespace {

// A closed line is its text, a CR and the line end CR LF. The two rules are closed lines.
constexpr std::string_view kLineEnd = "\r\r\n";
constexpr std::string_view kDashRule = "---------------";
constexpr std::string_view kEqualsRule = "=============================================";

class ReportBuilder {
 public:
  ReportBuilder(std::string& out, const RegionalSettings& rs) : out_(out), rs_(rs) {}

  void Line(std::string_view text) {
    out_ += text;
    out_ += kLineEnd;
  }
  void Line(std::string_view text, std::string_view more) {
    out_ += text;
    Line(more);
  }
  void Cell(std::string_view text) {
    out_ += text;
    out_ += '\t';
  }
  void ValueCell(double value) {
    AppendSigned2(out_, value, rs_);
    out_ += '\t';
  }
  void EndRow() { out_ += kLineEnd; }
  // The first cell of a table row: a label and a number in format "###".
  void NumberedCell(std::string_view label, int number) {
    out_ += label;
    Cell(FormatWhole(number));
  }
  void SSERow(double sweep, double sse) {
    out_ += FormatStandard(sweep, rs_);
    out_ += '\t';
    out_ += FormatScientific(sse, rs_);
    out_ += "\r\n";
  }
  // A section's title line and the dash rule under it.
  void Title(std::string_view text) {
    Line(text);
    Line(kDashRule);
  }
  void EndSection() { Line(kEqualsRule); }

 private:
  std::string& out_;
  const RegionalSettings& rs_;
};

// A generous guess of the report's size, so the buffer grows once at most.
std::size_t EstimatedSize(const PublicStuff& s) {
  const std::size_t in = static_cast<std::size_t>(std::max(s.NumInputUnits, 0));
  const std::size_t out = static_cast<std::size_t>(std::max(s.NumOutputUnits, 0));
  const std::size_t patterns = static_cast<std::size_t>(std::max(s.NumPatterns, 0));
  constexpr std::size_t kCell = 8;
  return 4096 + kCell * (in * out + patterns * (3 * out + in) + in + patterns) +
         40 * kSSEHistoryRows;
}

// The rows of sections 2 and 3: one per pattern, the output units' Activation (into
// `responses`) and Error (into `errors`) right after presenting the pattern. A response
// depends only on the weights and the pattern, so when both sections are wanted one
// presentation serves both, and the units end as a second round of presentations would
// leave them: holding the last pattern's response.
void ResponseRows(PublicStuff& s, const RegionalSettings& rs, std::string* responses,
                  std::string* errors) {
  std::optional<ReportBuilder> r, e;
  if (responses != nullptr) r.emplace(*responses, rs);
  if (errors != nullptr) e.emplace(*errors, rs);
  for (int p = 1; p <= s.NumPatterns; ++p) {
    ComputeResponse(s, p);
    if (r) r->NumberedCell("Pattern ", p);
    if (e) e->NumberedCell("Pattern ", p);
    for (int j = 1; j <= s.NumOutputUnits; ++j) {
      if (r) r->ValueCell(s.OutputUnits[j].Activation);
      if (e) e->ValueCell(s.OutputUnits[j].Error);
    }
    if (r) r->EndRow();
    if (e) e->EndRow();
  }
}

// One table row per pattern of a pattern array (unit, pattern).
void PatternRows(ReportBuilder& b, const Array2D<double>& values, int units, int patterns) {
  for (int p = 1; p <= patterns; ++p) {
    b.NumberedCell("Pattern ", p);
    for (int u = 1; u <= units; ++u) b.ValueCell(values(u, p));
    b.EndRow();
  }
}

void HeaderAndGeneral(ReportBuilder& b, const PublicStuff& s, const ReportSections& sections,
                      const LocalDateTime& when, const RegionalSettings& rs) {
  b.Line("Distributed Associative Memory Program");
  b.Line(kEqualsRule);
  b.Line("");
  b.Line("Results Of Training With File: ", s.TrainingFileName);
  b.Line("Date Of Analysis: ", DateText(when, rs));
  b.Line("Time Of Analysis: ", TimeText(when, rs));
  b.Line(kEqualsRule);
  if (sections[kGeneralSection]) {
    b.Line("Learning rule: ", s.LearningRule);
    b.Line("Learning rate: ", GeneralNumberText(s.LearningRate, rs));
    b.Line("Training completed after " + IntegerText(s.SweepCount), " epochs");
    b.EndSection();
  }
}

// Sections 2 and 3, the only ones that present patterns.
void ResponsesAndErrors(ReportBuilder& b, std::string& text, PublicStuff& s,
                        const ReportSections& sections, const RegionalSettings& rs) {
  std::string errorRows;
  if (sections[kResponsesSection]) {
    b.Title("Network Responses To Each Input Pattern:");
    ResponseRows(s, rs, &text, sections[kErrorsSection] ? &errorRows : nullptr);
    b.EndSection();
  } else if (sections[kErrorsSection]) {
    ResponseRows(s, rs, nullptr, &errorRows);
  }
  if (sections[kErrorsSection]) {
    b.Line("After training, sum of squared error was: ", GeneralNumberText(s.TotalSSE, rs));
    b.Title("Network Response Errors To Each Input Pattern:");
    text += errorRows;
    b.EndSection();
  }
}

// Sections 4 to 7. They only read the weights, the patterns and the history, none of which
// presenting a pattern changes.
void WeightsPatternsAndHistory(ReportBuilder& b, const PublicStuff& s,
                               const ReportSections& sections) {
  if (sections[kWeightsSection]) {
    b.Title("Connection weights from input units (rows) to output units (columns):");
    b.Cell("");
    for (int j = 1; j <= s.NumOutputUnits; ++j) b.Cell("Out " + IntegerText(j));
    b.EndRow();
    for (int i = 1; i <= s.NumInputUnits; ++i) {
      b.NumberedCell("INP ", i);
      for (int j = 1; j <= s.NumOutputUnits; ++j) b.ValueCell(s.Connections.Weight(j, i));
      b.EndRow();
    }
    b.EndSection();
  }
  if (sections[kInputPatternsSection]) {
    b.Title("The set of input patterns was:");
    PatternRows(b, s.InputPatterns, s.NumInputUnits, s.NumPatterns);
    b.EndSection();
  }
  if (sections[kDesiredOutputsSection]) {
    b.Title("The set of desired outputs was:");
    PatternRows(b, s.DesiredOutputs, s.NumOutputUnits, s.NumPatterns);
    b.EndSection();
  }
  if (sections[kSSEHistorySection]) {
    b.Title("Network SSE as a function of sweeps of training was:");
    b.Line("Sweeps\tNetwork SSE");
    const int rows = std::clamp<int>(s.SSEHistoryCount, 0, kSSEHistoryRows);
    for (int r = 1; r <= rows; ++r) b.SSERow(s.SSEHistory[r][1], s.SSEHistory[r][2]);
    b.EndSection();
  }
}

}  // namespace

std::string ResultsReportText(PublicStuff& s, const ReportSections& sections,
                              const LocalDateTime& when, const RegionalSettings& rs) {
  std::string text;
  text.reserve(EstimatedSize(s));
  ReportBuilder b(text, rs);
  HeaderAndGeneral(b, s, sections, when, rs);
  if (!sections[kResponsesSection] && !sections[kErrorsSection]) {
    WeightsPatternsAndHistory(b, s, sections);
    return text;
  }
  // Presenting the patterns is bound by reading every weight once per pattern, so the later
  // sections are formatted meanwhile on a second thread and appended after.
  auto tail = std::async(std::launch::async, [&s, &sections, &rs] {
    std::string tailText;
    ReportBuilder tailBuilder(tailText, rs);
    WeightsPatternsAndHistory(tailBuilder, s, sections);
    return tailText;
  });
  ResponsesAndErrors(b, text, s, sections, rs);
  text += tail.get();
  return text;
}

std::optional<FileWriteError> WriteResultsReport(PublicStuff& s, const std::filesystem::path& path,
                                                 const ReportSections& sections,
                                                 const LocalDateTime& when,
                                                 const RegionalSettings& rs) {
  return ReplaceFile(path, ResultsReportText(s, sections, when, rs));
}

}  // namespace corvel
