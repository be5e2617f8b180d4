#include "learning/engine.h"

#include <algorithm>
#include <vector>

#include "learning/sweep_kernels.h"

namespace corvel {

void ComputeResponse(PublicStuff& s, int p) {
  const int nIn = s.NumInputUnits, nOut = s.NumOutputUnits;
  for (int i = 1; i <= nIn; ++i) s.InputUnits[i].Activation = s.InputPatterns(i, p);
  // The sums run in a contiguous buffer, one input at a time across all output units (the
  // weights of one input lie side by side), so they can use vector instructions; each
  // unit's sum still adds its inputs in ascending order.
  std::vector<double> net(static_cast<std::size_t>(nOut) + 1, 0.0);
  const auto addWeighted = detail::BestKernelSet().addWeighted;
  const double* weights = s.Connections.Weight.data();
  const std::size_t stride = s.Connections.Weight.stride();
  for (int i = 1; i <= nIn; ++i) {
    addWeighted(net.data() + 1, weights + i * stride + 1, s.InputUnits[i].Activation, nOut);
  }
  for (int j = 1; j <= nOut; ++j) {
    UnitRecord& u = s.OutputUnits[j];
    u.NetInput = net[j];
    u.Activation = u.NetInput;
    u.Error = s.DesiredOutputs(j, p) - u.Activation;
  }
}

std::vector<double> NetInputs(const PublicStuff& s) {
  const std::size_t out = static_cast<std::size_t>(std::max(s.NumOutputUnits, 0));
  const std::size_t pat = static_cast<std::size_t>(std::max(s.NumPatterns, 0));
  std::vector<double> nets(out * pat, 0.0);
  AddNetInputs(s, 1, s.NumPatterns, 1, s.NumInputUnits + 1, nets.data());
  return nets;
}

void AddNetInputs(const PublicStuff& s, int firstPattern, int patterns, int firstInput,
                  int endInput, double* nets) {
  const std::size_t out = static_cast<std::size_t>(std::max(s.NumOutputUnits, 0));
  const std::size_t pat = static_cast<std::size_t>(std::max(patterns, 0));
  const auto addWeighted = detail::BestKernelSet().addWeighted;
  const double* weights = s.Connections.Weight.data();
  const std::size_t stride = s.Connections.Weight.stride();
  // Output units in strips narrow enough that the strip's sums for every pattern stay in the
  // second-level cache while the inputs go by; each unit still adds its inputs in ascending
  // order.
  constexpr std::size_t kStripDoubles = 64 * 1024;
  const std::size_t strip = std::max<std::size_t>(kStripDoubles / std::max<std::size_t>(pat, 1), 8);
  for (std::size_t first = 0; first < out; first += strip) {
    const int width = static_cast<int>(std::min(strip, out - first));
    for (int i = firstInput; i < endInput; ++i) {
      const double* row = weights + static_cast<std::size_t>(i) * stride + 1 + first;
      for (std::size_t p = 0; p < pat; ++p) {
        addWeighted(nets + p * out + first, row,
                    s.InputPatterns(i, firstPattern + static_cast<int>(p)), width);
      }
    }
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
