#pragma once
// The memory's responses to a group of patterns, made a slice of input units at a time so
// that a caller can spread the work of a large network over time. The results are bit for bit
// those of presenting each pattern (ComputeResponse, then PatternSSE); the unit records are
// left alone.

#include <vector>

#include "state/public_stuff.h"

namespace corvel {

class PatternResponses {
 public:
  // Patterns first .. first + count - 1, counted from 1, of `s`, which must outlive this and
  // keep its weights while the sums are made.
  PatternResponses(const PublicStuff& s, int first, int count);

  // Adds up to `inputs` more input units to every sum; true once every input is added.
  bool AddInputs(int inputs);
  bool Done() const { return nextInput_ > s_.NumInputUnits; }

  int First() const { return first_; }
  int Count() const { return count_; }

  // Once done, for pattern p of the group and output unit j (both counted from 1): the
  // response, the error (desired output minus response) and the pattern's SSE.
  double Response(int p, int j) const;
  double Error(int p, int j) const;
  double SSE(int p) const;

 private:
  const PublicStuff& s_;
  int first_;
  int count_;
  int nextInput_ = 1;
  std::vector<double> nets_;
};

}  // namespace corvel
