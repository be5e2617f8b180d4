#include "report/network_csv.h"

#include <algorithm>
#include <string>

#include "learning/pattern_responses.h"
#include "report/sse_history.h"

namespace corvel {
namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;
// Net inputs made at a time for the responses.
constexpr std::size_t kGroupDoubles = std::size_t{1} << 20;

// Gathers text into pieces of about a megabyte for the sink.
class Pieces {
 public:
  explicit Pieces(const ByteSink& sink) : sink_(sink) {}
  std::string& text() { return text_; }
  // Hands the text on once a piece is full, or at the end.
  bool Pass(bool end = false) {
    if (text_.size() < kPiece && !end) return true;
    const bool taken = text_.empty() || sink_(text_);
    text_.clear();
    return taken;
  }

 private:
  const ByteSink& sink_;
  std::string text_;
};

void AppendHeader(std::string& out, const char* name, int count) {
  for (int j = 1; j <= count; ++j) out += std::string(",") + name + " " + std::to_string(j);
}

}  // namespace

bool WriteWeightsCsv(const PublicStuff& s, const ByteSink& sink) {
  Pieces out(sink);
  AppendHeader(out.text(), "Out", s.NumOutputUnits);
  out.text() += '\n';
  for (int i = 1; i <= s.NumInputUnits; ++i) {
    out.text() += "INP " + std::to_string(i);
    for (int j = 1; j <= s.NumOutputUnits; ++j) {
      out.text() += ',';
      AppendShortest(out.text(), s.Connections.Weight(j, i));
    }
    out.text() += '\n';
    if (!out.Pass()) return false;
  }
  return out.Pass(true);
}

bool WriteResponsesCsv(const PublicStuff& s, const ByteSink& sink) {
  const int m = s.NumOutputUnits;
  Pieces out(sink);
  out.text() += "Pattern";
  for (const char* name : {"Response", "Desired", "Error"}) AppendHeader(out.text(), name, m);
  out.text() += ",SSE\n";
  const int group = static_cast<int>(std::clamp<std::size_t>(
      kGroupDoubles / static_cast<std::size_t>(std::max(m, 1)), 1, 1 << 15));
  for (int first = 1; first <= s.NumPatterns; first += group) {
    PatternResponses r(s, first, std::min(group, s.NumPatterns - first + 1));
    r.AddInputs(s.NumInputUnits);
    for (int p = first; p < first + r.Count(); ++p) {
      std::string& row = out.text();
      row += std::to_string(p);
      for (int j = 1; j <= m; ++j) AppendShortest(row += ',', r.Response(p, j));
      for (int j = 1; j <= m; ++j) AppendShortest(row += ',', s.DesiredOutputs(j, p));
      for (int j = 1; j <= m; ++j) AppendShortest(row += ',', r.Error(p, j));
      AppendShortest(row += ',', r.SSE(p));
      row += '\n';
      if (!out.Pass()) return false;
    }
  }
  return out.Pass(true);
}

}  // namespace corvel
