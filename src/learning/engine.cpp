#include "learning/engine.h"

#include <cmath>
#include <limits>

namespace corvel {

void ComputeResponse(PublicStuff& s, int p) {
  const int nIn = s.NumInputUnits, nOut = s.NumOutputUnits;
  for (int i = 1; i <= nIn; ++i) s.InputUnits[i].Activation = s.InputPatterns(i, p);
  for (int j = 1; j <= nOut; ++j) s.OutputUnits[j].NetInput = 0.0;
  for (int i = 1; i <= nIn; ++i) {
    const double x = s.InputUnits[i].Activation;
    for (int j = 1; j <= nOut; ++j) {
      s.OutputUnits[j].NetInput = s.Connections.Weight(j, i) * x + s.OutputUnits[j].NetInput;
    }
  }
  for (int j = 1; j <= nOut; ++j) {
    UnitRecord& u = s.OutputUnits[j];
    u.Activation = u.NetInput;
    u.Error = s.DesiredOutputs(j, p) - u.Activation;
  }
}

double PatternSSE(const PublicStuff& s) {
  double sum = 0.0;
  for (int j = 1; j <= s.NumOutputUnits; ++j) sum = sum + s.OutputUnits[j].Error * s.OutputUnits[j].Error;
  return sum;
}

namespace {

// The step both rules share once the unit activations hold the rule's factors.
void ChangeWeights(PublicStuff& s) {
  const int nIn = s.NumInputUnits, nOut = s.NumOutputUnits;
  for (int i = 1; i <= nIn; ++i) {
    const double scaled = s.LearningRate * s.InputUnits[i].Activation;
    for (int j = 1; j <= nOut; ++j) {
      s.Connections.WeightChange(j, i) = scaled * s.OutputUnits[j].Activation;
    }
  }
  for (int i = 1; i <= nIn; ++i) {
    for (int j = 1; j <= nOut; ++j) {
      s.Connections.Weight(j, i) = s.Connections.Weight(j, i) + s.Connections.WeightChange(j, i);
    }
  }
}

bool IsHebb(const PublicStuff& s) { return s.LearningRule == "Hebb"; }

RunFailure Overflow() { return RunFailure{kOverflowCode, "Overflow"}; }

}  // namespace

void ApplyHebbRule(PublicStuff& s, int p) {
  for (int i = 1; i <= s.NumInputUnits; ++i) s.InputUnits[i].Activation = s.InputPatterns(i, p);
  for (int j = 1; j <= s.NumOutputUnits; ++j) s.OutputUnits[j].Activation = s.DesiredOutputs(j, p);
  ChangeWeights(s);
}

void ApplyDeltaRule(PublicStuff& s, int p) {
  ComputeResponse(s, p);
  for (int j = 1; j <= s.NumOutputUnits; ++j) s.OutputUnits[j].Activation = s.OutputUnits[j].Error;
  ChangeWeights(s);
}

void ClearConnections(PublicStuff& s) {
  for (int i = 1; i <= s.NumInputUnits; ++i) {
    for (int j = 1; j <= s.NumOutputUnits; ++j) {
      s.Connections.Weight(j, i) = 0.0;
      s.Connections.WeightChange(j, i) = 0.0;
    }
  }
}

std::optional<RunFailure> RunTraining(PublicStuff& s, TrainingObserver& observer) {
  if (s.NumInputUnits > kMaxCount || s.NumOutputUnits > kMaxCount || s.NumPatterns > kMaxCount)
    return Overflow();

  observer.RunStarted(RunStart{s.NewRun == 1, s.StopAtMaxSweeps == 1});
  const bool newRun = s.NewRun == 1;
  if (newRun) s.SweepCount = 0;
  std::int32_t sweepsSincePrintout = 0;
  double previousSSE = newRun ? 0.0 : s.TotalSSE;
  double sseChange = 0.0;

  if (s.SweepCount == 0) {
    s.SSEHistoryCount = 1;
    s.SSEHistory[1][1] = 0.0;
    s.SSEHistory[1][2] = 0.0;
    for (int p = 1; p <= s.NumPatterns; ++p) {
      ComputeResponse(s, p);
      const double sum = s.SSEHistory[1][2] + PatternSSE(s);
      if (!std::isfinite(sum)) return Overflow();
      s.SSEHistory[1][2] = sum;
    }
  }

  const bool hebb = IsHebb(s);
  bool runDone = false;
  while (!runDone) {
    if (s.SweepCount == std::numeric_limits<std::int32_t>::max()) return Overflow();
    ++s.SweepCount;
    ++sweepsSincePrintout;
    observer.SweepStarted(s.SweepCount);
    s.TotalSSE = 0.0;
    for (int p = 1; p <= s.NumPatterns; ++p) {
      if (hebb) ApplyHebbRule(s, p); else ApplyDeltaRule(s, p);
      ComputeResponse(s, p);
      const double sum = s.TotalSSE + PatternSSE(s);
      if (!std::isfinite(sum)) return Overflow();
      s.TotalSSE = sum;
    }
    const bool changeValid = s.SweepCount != 1;
    if (changeValid) sseChange = previousSSE - s.TotalSSE;
    previousSSE = s.TotalSSE;

    if (sweepsSincePrintout == s.PrintSweeps) {
      sweepsSincePrintout = 0;
      observer.Printout(TrainingProgress{s.SweepCount, s.TotalSSE, sseChange, changeValid});
      if (s.SSEHistoryCount < kSSEHistoryRows) {
        ++s.SSEHistoryCount;
        s.SSEHistory[s.SSEHistoryCount][1] = static_cast<double>(s.SweepCount);
        s.SSEHistory[s.SSEHistoryCount][2] = s.TotalSSE;
      }
    }
    if (s.StopAtMaxSweeps == 1 && s.SweepCount == s.MaxSweeps) runDone = true;
    if (s.StopAtMinSSE == 1 && s.TotalSSE < s.MinSSE) runDone = true;
    if (observer.StopRequested()) runDone = true;
  }
  observer.RunEnded(TrainingProgress{s.SweepCount, s.TotalSSE, sseChange, s.SweepCount > 1});
  return std::nullopt;
}

}  // namespace corvel
