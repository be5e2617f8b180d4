#pragma once
// The working copy a training run computes on. RunTraining makes it before the first sweep
// and writes the results back into the network state when the run ends, so nothing is
// allocated while sweeps run.
//
// The weights are copied into blocks of output units (see sweep_kernels.h), each block's
// weights contiguous and aligned, so one block runs a whole sweep in cache. Each pattern's
// SSE is summed block after block in ascending output order, which is the order PatternSSE
// adds in. With more than one worker, each takes a run of whole blocks with an error buffer
// of its own and keeps every unit's squared errors; the sums are then made in unit order by
// one thread, so the results are bit for bit those of one worker.

#include <cstddef>
#include <optional>
#include <vector>

#include "learning/engine.h"
#include "learning/sweep_kernels.h"
#include "learning/sweep_workers.h"
#include "state/public_stuff.h"

namespace corvel::detail {

class SweepWorkspace {
 public:
  // Copies the weights and the training set into s.EngineScratch, which grows when it is too
  // small, and makes the workers (no more than there are blocks). Throws std::bad_alloc when
  // memory runs out.
  SweepWorkspace(PublicStuff& s, const KernelSet& kernels, int workers = 1);

  // Bytes of scratch the workspace takes for these counts, to check before making it.
  static std::size_t BytesNeeded(int numInputs, int numOutputs, int numPatterns,
                                 const KernelSet& kernels, int workers = 1);
  // Blocks of output units a sweep is split into.
  static int BlockCount(int numInputs, int numOutputs, const KernelSet& kernels);

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

  BlockSweep Task(const Block& b, double* errors);
  void RunBlock(const Block& b, double* errors, bool respondOnly);
  // Every block, on the workers or on this thread; patternSSE_ then holds the sums.
  void RunAll(bool respondOnly);
  void AddSquaredErrors(const Block& b);
  // Worker w's blocks, each run and its squared errors kept in squares_.
  void WorkerShare(int w);
  // Each pattern's SSE from squares_, in ascending unit order.
  void SumSquares();

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
  double* squares_;  // with workers: squared error (j, p) at squares_[p * numOutputs + j]
  std::size_t workerErrors_ = 0;     // doubles of errors_ each worker has
  std::vector<std::size_t> shares_;  // worker w runs blocks shares_[w] to shares_[w + 1] - 1
  bool respondOnly_ = false;         // the workers' job: respond only, or sweep
  std::vector<double> patternSSE_;
  bool primed_ = false;  // nextError_ holds the error of pattern 0 for the current weights
  bool swept_ = false;
  // Last, so that the threads are gone before anything they work on.
  std::optional<SweepWorkers> workers_;
};

// The workers RunTraining chooses for these counts and loops.
int AutomaticWorkers(int numInputs, int numOutputs, int numPatterns, const KernelSet& kernels);

// RunTraining on a chosen set of sweep loops and number of workers (0: chosen for the size
// of the sweep); tests run every set the processor has.
std::optional<RunFailure> RunTrainingWith(PublicStuff& s, TrainingObserver& observer,
                                          const KernelSet& kernels, int workers = 1);

}  // namespace corvel::detail
