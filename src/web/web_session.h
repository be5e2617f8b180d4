#pragma once
// What a web page does with the core, as one object that its worker holds: load a training
// file from its bytes, make the network, read the set-up page's boxes, train, stop, present
// a pattern, and read the SSE history, the results report and the weights. Every step calls
// the routines the desktop pages call, so the messages, refusals, failure reports, numbers
// and report bytes are the desktop's. Only the driving of a run is the browser's own: a
// worker hears of a press of Stop only between two calls, so a run goes a slice of time at
// a time (Advance) and Stop ends it between two slices.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "learning/observer.h"
#include "learning/training_parameters.h"
#include "learning/training_run.h"
#include "report/formats.h"
#include "report/results_report.h"
#include "state/public_stuff.h"

namespace corvel::web {

// The outcome of loading a training file.
struct LoadOutcome {
  bool Loaded = false;
  std::string Message;  // the loader's message when it failed
};

// The outcome of "Start Training" or "Continue Training" before the first sweep.
struct StartOutcome {
  bool Started = false;
  std::string RefusalText;   // one of the three refusals: a warning with this text ...
  std::string RefusalTitle;  // ... and title
  std::string FailureText;   // or the failure report, shown with the title "Corvel Duvu"
  ParameterBoxes Boxes;      // the boxes as the reading left them (a refusal resets one)
  // For a run that started: the file line of a new run ("Training: name", empty for a
  // continued one) and the progress bar's maximum (0 when the bar stays hidden).
  std::string TrainingLine;
  std::int32_t ProgressMaximum = 0;
};

// What the progress boxes show at a printout or at the end of a run.
struct ProgressTexts {
  std::int32_t SweepCount = 0;
  std::string Epochs;      // "Epochs: 10"
  std::string TotalSSE;    // "Total SSE: 1,234.50"
  std::string Change;      // "Change in SSE: -1.23E-04"; empty where no change is shown
  bool ErrorRose = false;  // at a printout, the change is shown on red (else green)
  bool TargetMet = false;  // at the end, the total SSE is shown on green (else red)
};

// Where a run stands after a slice of it.
struct RunStatus {
  bool Running = false;            // the run goes on: call Advance again (or Stop)
  std::int32_t SweepsThisRun = 0;  // the progress bar's value
  bool HasPrintout = false;        // a printout came during the slice: the latest one
  ProgressTexts Printout;
  bool HasEnd = false;  // the run ended normally: the boxes' final texts
  ProgressTexts End;
  std::string FailureText;  // the run failed: the failure report
};

class WebSession {
 public:
  WebSession();
  ~WebSession();

  // The settings the number, date and time texts follow; English (United States) until set.
  void SetRegionalSettings(const RegionalSettings& rs) { rs_ = rs; }

  // Loads a training file's bytes. `fileName` names the file in messages, the progress
  // boxes and the report. On failure the loaded set stays as it was.
  LoadOutcome LoadTrainingFile(const std::string& bytes, const std::string& fileName);

  // What the set-up page does when it opens or comes back for a new network: makes the unit
  // and connection arrays afresh for the loaded set, all zero. Empty, or the failure report
  // when they do not fit in memory.
  std::string MakeNetwork();

  // "Start Training" (weights cleared, counts and history restart) and "Continue Training"
  // (from the current weights) with the page's rule ("Hebb" or "Delta") and boxes. A run
  // that starts then goes on through Advance.
  StartOutcome StartTraining(const std::string& rule, const ParameterBoxes& boxes);
  StartOutcome ContinueTraining(const std::string& rule, const ParameterBoxes& boxes);

  // Trains for about `milliseconds` (at least one sweep), fewer when the run ends.
  RunStatus Advance(double milliseconds);
  // Ends the run after its last sweep, as "Stop Training" does on the desktop.
  RunStatus Stop();
  bool Training() const { return run_ != nullptr; }

  // "Ok" on the probe page: the block for the pattern `patternText` names, or an empty text
  // when it names none (not a whole number from 1 to NumPatterns).
  std::string ProbeBlock(const std::string& patternText);

  // The results report for the local time of `instant` (seconds since 1970) with the
  // sections chosen as the save page's boxes choose them. Empty while training.
  std::string ReportText(double instant, const ReportSections& sections);

  // What the chart, the weights page and the tests read; the state is not written.
  const PublicStuff& State() const { return s_; }
  const RegionalSettings& Settings() const { return rs_; }
  // The weights and units may be read: no run holds them and they fit the loaded set.
  bool NetworkReadable() const { return !Training() && s_.NetworkFitsTrainingSet(); }
  // Rows of the SSE history: sweep, SSE, sweep, SSE, ...
  std::vector<double> SSEHistory() const;
  // Every pattern's responses and errors (desired minus response), as presenting pattern p
  // makes them: output j's at [(p - 1) * NumOutputUnits + j - 1]. Empty while training or
  // without a network.
  std::vector<double> Responses() const;
  std::vector<double> Errors() const;
  // The weights, input unit by input unit: from input i to output j at
  // [(i - 1) * NumOutputUnits + j - 1]. Empty while training or without a network.
  std::vector<double> Weights() const;

 private:
  StartOutcome Start(const std::string& rule, const ParameterBoxes& boxes);
  RunStatus Status();
  ProgressTexts Texts(const TrainingProgress& progress) const;

  // Keeps what a slice's status tells the page.
  struct SliceObserver : TrainingObserver {
    std::int32_t sweepsThisRun = 0;
    bool printed = false, ended = false;
    TrainingProgress printout, end;
    void SweepStarted(std::int32_t) override { ++sweepsThisRun; }
    void Printout(const TrainingProgress& p) override {
      printed = true;
      printout = p;
    }
    void RunEnded(const TrainingProgress& p) override {
      ended = true;
      end = p;
    }
  };

  PublicStuff s_;
  RegionalSettings rs_;
  SliceObserver observer_;
  std::unique_ptr<TrainingRun> run_;
};

}  // namespace corvel::web
