#include "learning/pattern_responses.h"

#include <algorithm>
#include <cstddef>

#include "learning/engine.h"

namespace corvel {

PatternResponses::PatternResponses(const PublicStuff& s, int first, int count)
    : s_(s),
      first_(first),
      count_(std::max(count, 0)),
      nets_(static_cast<std::size_t>(count_) *
            static_cast<std::size_t>(std::max(s.NumOutputUnits, 0))) {}

bool PatternResponses::AddInputs(int inputs) {
  const int end = std::min(nextInput_ + std::max(inputs, 1), s_.NumInputUnits + 1);
  if (!Done()) AddNetInputs(s_, first_, count_, nextInput_, end, nets_.data());
  nextInput_ = std::max(end, nextInput_);
  return Done();
}

double PatternResponses::Response(int p, int j) const {
  return nets_[static_cast<std::size_t>(p - first_) * static_cast<std::size_t>(s_.NumOutputUnits) +
               static_cast<std::size_t>(j - 1)];
}

// As ComputeResponse makes it: desired minus the activation, which equals the net input.
double PatternResponses::Error(int p, int j) const {
  return s_.DesiredOutputs(j, p) - Response(p, j);
}

// As PatternSSE adds it: from 0.0, each error squared, in ascending output order.
double PatternResponses::SSE(int p) const {
  double sum = 0.0;
  for (int j = 1; j <= s_.NumOutputUnits; ++j) sum = sum + Error(p, j) * Error(p, j);
  return sum;
}

}  // namespace corvel
