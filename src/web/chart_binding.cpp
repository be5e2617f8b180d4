// The SSE chart page's view of the history: its points, the texts of its table (sweeps and
// SSEs in the general number form), each bar's height and the SSE axis's ticks on the linear
// or the logarithmic scale (report/sse_axis.h), and the points as the chart's CSV file. The
// page keeps the points it was built from, so its axis and its file are made of those.

#include <emscripten/bind.h>

#include "report/sse_axis.h"
#include "report/sse_history.h"
#include "web/js_values.h"
#include "web/web_session.h"

namespace corvel::web {
namespace {

using emscripten::val;

std::vector<double> Doubles(const val& array) {
  return emscripten::convertJSArrayToNumberVector<double>(array);
}

// The bars' heights, the axis's top and its labelled ticks for the SSE values `sses`.
val SSEAxisView(const WebSession& session, const val& sses, bool logarithmic, int maxTicks) {
  const std::vector<double> values = Doubles(sses);
  const RegionalSettings& rs = session.Settings();
  const SSEAxis axis = logarithmic ? LogarithmicSSEAxis(values, maxTicks, rs)
                                   : LinearSSEAxis(values, maxTicks, rs);
  std::vector<double> heights;
  for (const double sse : values) heights.push_back(axis.BarHeight(sse));
  val ticks = val::array();
  for (const SSEAxisTick& tick : axis.Ticks) {
    val t = val::object();
    t.set("position", tick.Position);
    t.set("label", tick.Label);
    ticks.call<void>("push", t);
  }
  val view = val::object();
  view.set("heights", Float64Copy(heights));
  view.set("top", axis.Top);
  view.set("ticks", ticks);
  return view;
}

// The history now, with its texts and its axis.
val SSEChartView(const WebSession& session, bool logarithmic, int maxTicks) {
  const RegionalSettings& rs = session.Settings();
  std::vector<double> sweeps, sses;
  std::vector<std::string> sweepTexts, sseTexts;
  for (const SSEPoint& point : SSEHistoryPoints(session.State())) {
    sweeps.push_back(point.Sweep);
    sses.push_back(point.SSE);
    sweepTexts.push_back(GeneralNumberText(point.Sweep, rs));
    sseTexts.push_back(GeneralNumberText(point.SSE, rs));
  }
  val view = SSEAxisView(session, Float64Copy(sses), logarithmic, maxTicks);
  view.set("sweeps", Float64Copy(sweeps));
  view.set("sses", Float64Copy(sses));
  view.set("sweepTexts", TextArray(sweepTexts));
  view.set("sseTexts", TextArray(sseTexts));
  return view;
}

std::string SSECsv(const val& sweeps, const val& sses) {
  const std::vector<double> x = Doubles(sweeps), y = Doubles(sses);
  std::vector<SSEPoint> points;
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) points.push_back({x[i], y[i]});
  return SSEHistoryCsv(points);
}

}  // namespace

EMSCRIPTEN_BINDINGS(corvel_chart) {
  emscripten::function("sseChartView", &SSEChartView);
  emscripten::function("sseAxisView", &SSEAxisView);
  emscripten::function("sseHistoryCsv", &SSECsv);
}

}  // namespace corvel::web
