// The weights page's views: the map of a region of the weights reduced to the cells it is
// drawn in, with each cell's colour (report/weight_map.h); rows of the responses table as the
// page writes them; every pattern's SSE, for the worst; the weights and the responses as CSV
// (report/network_csv.h); and the short texts of the page's numbers. Each returns nothing
// while a run holds the weights.

#include <emscripten/bind.h>

#include "learning/pattern_responses.h"
#include "report/network_csv.h"
#include "report/weight_map.h"
#include "web/js_values.h"
#include "web/web_session.h"

namespace corvel::web {
namespace {

using emscripten::val;

val WeightMap(const WebSession& session, int firstInput, int inputs, int firstOutput,
              int outputs, int rows, int columns) {
  if (!session.NetworkReadable()) return val::null();
  WeightMapReduction map(session.State().Connections.Weight,
                         {firstInput, inputs, firstOutput, outputs}, rows, columns);
  while (!map.Step(std::size_t{1} << 22)) {
  }
  std::vector<double> cells;
  std::string rgba;  // four bytes a cell, as a canvas's image data holds them
  for (int r = 0; r < map.Rows(); ++r) {
    for (int c = 0; c < map.Columns(); ++c) {
      cells.push_back(map.Cell(r, c));
      const Rgb colour = WeightColour(cells.back(), map.LargestMagnitude());
      rgba += {static_cast<char>(colour.r), static_cast<char>(colour.g),
               static_cast<char>(colour.b), static_cast<char>(255)};
    }
  }
  val view = val::object();
  view.set("rows", map.Rows());
  view.set("columns", map.Columns());
  view.set("cells", Float64Copy(cells));
  view.set("rgba", BytesCopy(rgba));
  view.set("largest", map.LargestMagnitude());
  return view;
}

// Patterns first .. first + count - 1: the pattern's number, then each output's response,
// desired output and error in the signed two-decimal format, then its SSE.
val ResponseRows(const WebSession& session, int first, int count) {
  if (!session.NetworkReadable()) return val::null();
  const PublicStuff& s = session.State();
  const RegionalSettings& rs = session.Settings();
  PatternResponses r(s, first, count);
  while (!r.AddInputs(s.NumInputUnits)) {
  }
  val rows = val::array();
  for (int p = first; p < first + count; ++p) {
    std::vector<std::string> row{std::to_string(p)};
    for (int j = 1; j <= s.NumOutputUnits; ++j) row.push_back(FormatSigned2(r.Response(p, j), rs));
    for (int j = 1; j <= s.NumOutputUnits; ++j)
      row.push_back(FormatSigned2(s.DesiredOutputs(j, p), rs));
    for (int j = 1; j <= s.NumOutputUnits; ++j) row.push_back(FormatSigned2(r.Error(p, j), rs));
    row.push_back(GeneralNumberText(r.SSE(p), rs));
    rows.call<void>("push", TextArray(row));
  }
  return rows;
}

val PatternSSEs(const WebSession& session) {
  const PublicStuff& s = session.State();
  if (!session.NetworkReadable() || s.NumPatterns < 1) return val::null();
  PatternResponses r(s, 1, s.NumPatterns);
  while (!r.AddInputs(s.NumInputUnits)) {
  }
  std::vector<double> sses;
  for (int p = 1; p <= s.NumPatterns; ++p) sses.push_back(r.SSE(p));
  return Float64Copy(sses);
}

// The CSV text, or an empty text while the weights cannot be read.
template <bool (*Write)(const PublicStuff&, const ByteSink&)>
std::string Csv(const WebSession& session) {
  std::string text;
  if (session.NetworkReadable())
    Write(session.State(), [&text](std::string_view piece) {
      text += piece;
      return true;
    });
  return text;
}

// The colours (RGBA) of `weights` on a map whose deepest colours stand for `scale`.
val WeightColours(const val& weights, double scale) {
  std::string rgba;
  for (const double weight : emscripten::convertJSArrayToNumberVector<double>(weights)) {
    const Rgb colour = WeightColour(weight, scale);
    rgba += {static_cast<char>(colour.r), static_cast<char>(colour.g), static_cast<char>(colour.b),
             static_cast<char>(255)};
  }
  return BytesCopy(rgba);
}

std::string WeightText(const WebSession& session, int input, int output) {
  if (!session.NetworkReadable()) return {};
  return FormatSigned2(session.State().Connections.Weight(output, input), session.Settings());
}

}  // namespace

EMSCRIPTEN_BINDINGS(corvel_weights) {
  emscripten::function("weightMap", &WeightMap);
  emscripten::function("responseRows", &ResponseRows);
  emscripten::function("patternSSEs", &PatternSSEs);
  emscripten::function("weightsCsv", &Csv<WriteWeightsCsv>);
  emscripten::function("responsesCsv", &Csv<WriteResponsesCsv>);
  emscripten::function("weightColours", &WeightColours);
  emscripten::function("weightText", &WeightText);
  emscripten::function("generalNumberText", +[](const WebSession& session, double value) {
    return GeneralNumberText(value, session.Settings());
  });
  emscripten::function("weightScaleText", +[](const WebSession& session, double scale) {
    return WeightScaleText(scale, session.Settings());
  });
}

}  // namespace corvel::web
