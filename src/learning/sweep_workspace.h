#pragma once
// The working copy a training run computes on. RunTraining makes it before the first sweep
// and writes the results back into the network state when the run ends, so nothing is
// allocated while sweeps run.
//
// The weights are copied into blocks of output units (see sweep_kernels.h), each block's
// weights contiguous and aligned, so one block runs a whole sweep in cache. Each pattern's
// SSE is summed block after block in ascending output order, which is the order PatternSSE
// adds in.

#include <cstddef>
#include <optional>
#include <vector>

#include "learning/engine.h"
#include "learning/sweep_kernels.h"
#include "state/public_stuff.h"

namespace corvel::detail {

class SweepWorkspace {
 public:
  // Copies the weights and the training set into s.EngineScratch, which grows when it is too
  // small. Throws std::bad_alloc when memory runs out.
  SweepWorkspace(PublicStuff& s, const KernelSet& kernels);

  // Bytes of scratch the workspace takes for these counts, to check before making it.
  static std::size_t BytesNeeded(int numInputs, int numOutputs, int numPatterns,
                                 const KernelSet& kernels);

  // PatternSSE of every pattern for the current weights, which stay unchanged.
  void RespondToAll();
  // One sweep of the rule; PatternSSEs() then holds each pattern's SSE after its own step.
  void Sweep();
  // Patterns counted from 0.
  const std::vector<double>& PatternSSEs() const { return patternSSE_; }

  // Writes the weights back into the state and, once a sweep has run, the last step's
  // WeightChange and the unit records as the response to the last pattern leaves them.
  void WriteBack(PublicStuff& s) const;

 private:
  struct Block {
    int firstUnit;  // output unit of lane 0, counted from 0; also the block's first
                    // column in the padded arrays
    int units;      // lanes that are real units
    int vectors;    // the block is vectors * kernel lanes wide, zero past the last unit
  };

  BlockSweep Task(const Block& b);
  void AddSquaredErrors(const Block& b);

  const KernelSet& kernels_;
  bool hebb_;
  int numInputs_, numOutputs_, numPatterns_;
  std::vector<Block> blocks_;
  const double* inputs_ = nullptr;  // the state's InputPatterns, from input 1 of pattern 1
  std::size_t inputStride_ = 0;
  // Arrays in the scratch memory, each on a 64-byte boundary.
  double* weights_;
  double* desired_;
  double* factors_;
  double* errors_;
  double* nextError_;
  double* lastFactor_;
  double* lastResponse_;
  std::vector<double> patternSSE_;
  bool primed_ = false;  // nextError_ holds the error of pattern 0 for the current weights
  bool swept_ = false;
};

// RunTraining on a chosen set of sweep loops; tests run every set the processor has.
std::optional<RunFailure> RunTrainingWith(PublicStuff& s, TrainingObserver& observer,
                                          const KernelSet& kernels);

}  // namespace corvel::detail
