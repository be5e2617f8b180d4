// The SSE chart page's view of the history: the texts of its table (sweeps and SSEs in the
// general number form), each bar's height and the SSE axis's ticks on the linear or the
// logarithmic scale (report/sse_axis.h), and the history as the chart's CSV file.

#include <emscripten/bind.h>

#include "report/sse_axis.h"
#include "report/sse_history.h"
#include "web/js_values.h"
#include "web/web_session.h"

namespace corvel::web {
namespace {

using emscripten::val;

val SSEChartView(const WebSession& session, bool logarithmic, int maxTicks) {
  const RegionalSettings& rs = session.Settings();
  std::vector<double> sses;
  std::vector<std::string> sweepTexts, sseTexts;
  for (const SSEPoint& point : SSEHistoryPoints(session.State())) {
    sses.push_back(point.SSE);
    sweepTexts.push_back(GeneralNumberText(point.Sweep, rs));
    sseTexts.push_back(GeneralNumberText(point.SSE, rs));
  }
  const SSEAxis axis = logarithmic ? LogarithmicSSEAxis(sses, maxTicks, rs)
                                   : LinearSSEAxis(sses, maxTicks, rs);
  std::vector<double> heights;
  for (const double sse : sses) heights.push_back(axis.BarHeight(sse));
  val ticks = val::array();
  for (const SSEAxisTick& tick : axis.Ticks) {
    val t = val::object();
    t.set("position", tick.Position);
    t.set("label", tick.Label);
    ticks.call<void>("push", t);
  }
  val view = val::object();
  view.set("sweepTexts", TextArray(sweepTexts));
  view.set("sseTexts", TextArray(sseTexts));
  view.set("heights", Float64Copy(heights));
  view.set("top", axis.Top);
  view.set("ticks", ticks);
  return view;
}

std::string SSECsv(const WebSession& session) {
  return SSEHistoryCsv(SSEHistoryPoints(session.State()));
}

}  // namespace

EMSCRIPTEN_BINDINGS(corvel_chart) {
  emscripten::function("sseChartView", &SSEChartView);
  emscripten::function("sseHistoryCsv", &SSECsv);
}

}  // namespace corvel::web
