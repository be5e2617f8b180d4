// The session as JavaScript sees it (embind): `new Module.Session()` and plain objects for
// the boxes, the settings and the outcomes, with names in the script's own style. Numbers
// come back as Float64Array and the report as a Uint8Array, each a copy the page may keep.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "report/probe_text.h"
#include "web/js_values.h"
#include "web/web_session.h"

namespace corvel::web {

EMSCRIPTEN_BINDINGS(corvel_core) {
  using emscripten::optional_override;
  emscripten::value_object<ParameterBoxes>("ParameterBoxes")
      .field("maxSweepsChecked", &ParameterBoxes::MaxSweepsChecked)
      .field("minSSEChecked", &ParameterBoxes::MinSSEChecked)
      .field("sweepsBox", &ParameterBoxes::SweepsBox)
      .field("lRateBox", &ParameterBoxes::LRateBox)
      .field("printSweepsBox", &ParameterBoxes::PrintSweepsBox)
      .field("minErrorBox", &ParameterBoxes::MinErrorBox);
  emscripten::value_object<RegionalSettings>("RegionalSettings")
      .field("decimalSeparator", &RegionalSettings::DecimalSeparator)
      .field("thousandsSeparator", &RegionalSettings::ThousandsSeparator)
      .field("shortDatePattern", &RegionalSettings::ShortDatePattern)
      .field("longTimePattern", &RegionalSettings::LongTimePattern)
      .field("amText", &RegionalSettings::AMText)
      .field("pmText", &RegionalSettings::PMText);
  // The save page's seven boxes, Check1(0) to Check1(6).
  emscripten::value_array<ReportSections>("ReportSections")
      .element(emscripten::index<0>())
      .element(emscripten::index<1>())
      .element(emscripten::index<2>())
      .element(emscripten::index<3>())
      .element(emscripten::index<4>())
      .element(emscripten::index<5>())
      .element(emscripten::index<6>());
  emscripten::value_object<LoadOutcome>("LoadOutcome")
      .field("loaded", &LoadOutcome::Loaded)
      .field("message", &LoadOutcome::Message);
  emscripten::value_object<StartOutcome>("StartOutcome")
      .field("started", &StartOutcome::Started)
      .field("refusalText", &StartOutcome::RefusalText)
      .field("refusalTitle", &StartOutcome::RefusalTitle)
      .field("failureText", &StartOutcome::FailureText)
      .field("boxes", &StartOutcome::Boxes)
      .field("trainingLine", &StartOutcome::TrainingLine)
      .field("progressMaximum", &StartOutcome::ProgressMaximum);
  emscripten::value_object<ProgressTexts>("ProgressTexts")
      .field("sweepCount", &ProgressTexts::SweepCount)
      .field("epochs", &ProgressTexts::Epochs)
      .field("totalSSE", &ProgressTexts::TotalSSE)
      .field("change", &ProgressTexts::Change)
      .field("errorRose", &ProgressTexts::ErrorRose)
      .field("targetMet", &ProgressTexts::TargetMet);
  emscripten::value_object<RunStatus>("RunStatus")
      .field("running", &RunStatus::Running)
      .field("sweepsThisRun", &RunStatus::SweepsThisRun)
      .field("hasPrintout", &RunStatus::HasPrintout)
      .field("printout", &RunStatus::Printout)
      .field("hasEnd", &RunStatus::HasEnd)
      .field("end", &RunStatus::End)
      .field("failureText", &RunStatus::FailureText);

  emscripten::class_<WebSession>("Session")
      .constructor<>()
      .function("setRegionalSettings", &WebSession::SetRegionalSettings)
      .function("loadTrainingFile", &WebSession::LoadTrainingFile)
      .function("makeNetwork", &WebSession::MakeNetwork)
      .function("startTraining", &WebSession::StartTraining)
      .function("continueTraining", &WebSession::ContinueTraining)
      .function("advance", &WebSession::Advance)
      .function("stop", &WebSession::Stop)
      .function("training", &WebSession::Training)
      .function("networkReadable", &WebSession::NetworkReadable)
      .function("probeBlock", &WebSession::ProbeBlock)
      .function("report", optional_override(
                              [](WebSession& self, double instant, const ReportSections& sections) {
                                return BytesCopy(self.ReportText(instant, sections));
                              }))
      .function("sseHistory", optional_override([](const WebSession& self) {
                  return Float64Copy(self.SSEHistory());
                }))
      .function("responses", optional_override([](const WebSession& self) {
                  return Float64Copy(self.Responses());
                }))
      .function("errors", optional_override(
                              [](const WebSession& self) { return Float64Copy(self.Errors()); }))
      .function("weights", optional_override(
                               [](const WebSession& self) { return Float64Copy(self.Weights()); }))
      .function("trainingFileName", optional_override([](const WebSession& self) {
                  return self.State().TrainingFileName;
                }))
      .function("numInputUnits", optional_override([](const WebSession& self) {
                  return self.State().NumInputUnits;
                }))
      .function("numOutputUnits", optional_override([](const WebSession& self) {
                  return self.State().NumOutputUnits;
                }))
      .function("numPatterns",
                optional_override([](const WebSession& self) { return self.State().NumPatterns; }))
      .function("sweepCount",
                optional_override([](const WebSession& self) { return self.State().SweepCount; }))
      .function("totalSSE",
                optional_override([](const WebSession& self) { return self.State().TotalSSE; }));
  // The probe page's check of its number box: the pattern the text names, or 0 for none.
  emscripten::function("patternNumber", optional_override([](const std::string& text, int patterns) {
                         return PatternNumber(text, patterns).value_or(0);
                       }));
}

}  // namespace corvel::web
