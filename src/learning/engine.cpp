#include "learning/engine.h"

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
  for (int j = 1; j <= s.NumOutputUnits; ++j)
    sum = sum + s.OutputUnits[j].Error * s.OutputUnits[j].Error;
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

}  // namespace corvel
