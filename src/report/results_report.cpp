#include "report/results_report.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "learning/engine.h"

namespace corvel {
namespace {

// A closed line is its text, a CR and the line end CR LF. The two rules are closed lines.
constexpr std::string_view kLineEnd = "\r\r\n";
constexpr std::string_view kDashRule = "---------------";
constexpr std::string_view kEqualsRule = "=============================================";
// The text goes to the sink in pieces of about this size, so that the report of a large
// memory is never held whole.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

class ReportBuilder {
 public:
  ReportBuilder(const ByteSink& sink, const RegionalSettings& rs) : sink_(sink), rs_(rs) {
    out_.reserve(kPieceBytes + 4096);
  }

  void Line(std::string_view text) {
    out_ += text;
    out_ += kLineEnd;
    PassOn();
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
  void EndRow() {
    out_ += kLineEnd;
    PassOn();
  }
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
    PassOn();
  }
  // A section's title line and the dash rule under it.
  void Title(std::string_view text) {
    Line(text);
    Line(kDashRule);
  }
  void EndSection() { Line(kEqualsRule); }

  // False once the sink failed; what comes after is dropped, and loops may end early.
  bool Ok() const { return ok_; }
  // Hands on what is left; true when every piece was taken.
  bool Finish() {
    PassOn(true);
    return ok_;
  }

 private:
  void PassOn(bool anySize = false) {
    if (!anySize && out_.size() < kPieceBytes) return;
    if (ok_ && !out_.empty()) ok_ = sink_(out_);
    out_.clear();
  }

  const ByteSink& sink_;
  const RegionalSettings& rs_;
  std::string out_;
  bool ok_ = true;
};

// One table row per pattern of a pattern array (unit, pattern).
void PatternRows(ReportBuilder& b, const Array2D<double>& values, int units, int patterns) {
  for (int p = 1; b.Ok() && p <= patterns; ++p) {
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

// Sections 2 and 3, the only ones that present patterns: one row per pattern of the output
// units' Activation, or of their Error, right after presenting the pattern. The output units
// end as presenting every pattern leaves them, holding the last pattern's response.
void ResponsesAndErrors(ReportBuilder& b, PublicStuff& s, const ReportSections& sections,
                        const RegionalSettings& rs) {
  if (!sections[kResponsesSection] && !sections[kErrorsSection]) return;
  const std::vector<double> nets = NetInputs(s);
  if (s.NumPatterns > 0) ComputeResponse(s, s.NumPatterns);
  const std::size_t outputs = static_cast<std::size_t>(s.NumOutputUnits);
  const auto rows = [&](bool errors) {
    for (int p = 1; b.Ok() && p <= s.NumPatterns; ++p) {
      b.NumberedCell("Pattern ", p);
      const double* net = nets.data() + static_cast<std::size_t>(p - 1) * outputs;
      for (int j = 1; j <= s.NumOutputUnits; ++j) {
        // As ComputeResponse: Activation = NetInput, Error = desired - Activation.
        b.ValueCell(errors ? s.DesiredOutputs(j, p) - net[j - 1] : net[j - 1]);
      }
      b.EndRow();
    }
  };
  if (sections[kResponsesSection]) {
    b.Title("Network Responses To Each Input Pattern:");
    rows(false);
    b.EndSection();
  }
  if (sections[kErrorsSection]) {
    b.Line("After training, sum of squared error was: ", GeneralNumberText(s.TotalSSE, rs));
    b.Title("Network Response Errors To Each Input Pattern:");
    rows(true);
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
    for (int i = 1; b.Ok() && i <= s.NumInputUnits; ++i) {
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

// The whole report, piece by piece; false as soon as the sink is.
bool WriteReport(PublicStuff& s, const ReportSections& sections, const LocalDateTime& when,
                 const RegionalSettings& rs, const ByteSink& sink) {
  ReportBuilder b(sink, rs);
  HeaderAndGeneral(b, s, sections, when, rs);
  ResponsesAndErrors(b, s, sections, rs);
  WeightsPatternsAndHistory(b, s, sections);
  return b.Finish();
}

}  // namespace

std::string ResultsReportText(PublicStuff& s, const ReportSections& sections,
                              const LocalDateTime& when, const RegionalSettings& rs) {
  std::string text;
  WriteReport(s, sections, when, rs, [&text](std::string_view piece) {
    text += piece;
    return true;
  });
  return text;
}

std::optional<FileWriteError> WriteResultsReport(PublicStuff& s, const std::filesystem::path& path,
                                                 const ReportSections& sections,
                                                 const LocalDateTime& when,
                                                 const RegionalSettings& rs) {
  return ReplaceFileWith(path, [&](const ByteSink& sink) {
    return WriteReport(s, sections, when, rs, sink);
  });
}

}  // namespace corvel
