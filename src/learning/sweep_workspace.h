#pragma once
// The memory a training run works in and the jobs it hands its workers. RunTraining makes it
// before the first sweep and writes the results back into the network state when the run
// ends, so nothing is allocated while sweeps run.
//
// The weights are trained in blocks of output units (see sweep_kernels.h), each block's
// weights contiguous and aligned, so one block runs a whole sweep in cache. The blocks live
// in the storage of the state's WeightChange: every step of a sweep overwrites all changes,
// and the last step's changes are made again from two short vectors when the run ends, so a
// network needs no room beyond its weights and changes. A block that does not fit there
// (the last one is padded to whole vectors) lives in the engine's scratch instead.
//
// Each block is copied in from the state's weights on the run's first sweep, by the worker
// that sweeps it. The response to the starting weights is made through a block-sized piece
// of scratch per worker instead, so a run that fails before its first sweep leaves
// WeightChange as it was.
//
// Each pattern's SSE is summed block after block in ascending output order, which is the
// order PatternSSE adds in. With more than one worker, each takes a run of whole blocks with
// an error buffer of its own and keeps every unit's squared errors; the sums are then made
// in unit order by one thread, so the results are bit for bit those of one worker.
//
// A build with CORVEL_SWEEP_THREADS 0 (the browser's, where a page cannot count on shared
// memory) has no thread pool at all: every sweep runs on the calling thread, whatever number
// of workers is asked for.

#include <cstddef>
#include <optional>
#include <vector>

#include "learning/engine.h"
#include "learning/sweep_kernels.h"
#include "state/public_stuff.h"

#ifndef CORVEL_SWEEP_THREADS
#error "the build says whether sweeps may share threads: CORVEL_SWEEP_THREADS 0 or 1"
#elif CORVEL_SWEEP_THREADS
#include "learning/sweep_workers.h"
#endif

namespace corvel::detail {

class SweepWorkspace {
 public:
  // Copies the training set into s.EngineScratch, which grows when it is too small, and makes
  // the workers (no more than there are blocks). Throws std::bad_alloc when memory runs out.
  // The arrays of `s` must have the bounds its counts give them.
  SweepWorkspace(PublicStuff& s, const KernelSet& kernels, int workers = 1);
  // Writes back what WriteBack was not called for, as when an observer throws: the state
  // never keeps blocks in place of its changes.
  ~SweepWorkspace();
  SweepWorkspace(const SweepWorkspace&) = delete;
  SweepWorkspace& operator=(const SweepWorkspace&) = delete;

  // Bytes of scratch the workspace takes for these counts, to check before making it.
  static std::uint64_t BytesNeeded(int numInputs, int numOutputs, int numPatterns,
                                   const KernelSet& kernels, int workers = 1);
  // Blocks of output units a sweep is split into.
  static int BlockCount(int numInputs, int numOutputs, const KernelSet& kernels);

  // PatternSSE of every pattern for the current weights, which stay unchanged.
  void RespondToAll();
  // One sweep of the rule; PatternSSEs() then holds each pattern's SSE after its own step.
  void Sweep();
  // Patterns counted from 0.
  const std::vector<double>& PatternSSEs() const { return patternSSE_; }

  // Copies the current weights into the state's Weight, leaving the run as it is: a view of
  // the weights can follow the run. Nothing to do before the first sweep.
  void PublishWeights();

  // Writes the weights back into the state and, once a sweep has run, the last step's
  // WeightChange and the unit records as the response to the last pattern leaves them.
  // Later calls do nothing: the blocks in WeightChange's storage are overwritten.
  void WriteBack();

 private:
  struct Block {
    int firstUnit;              // output unit of lane 0, counted from 0
    int units;                  // lanes that are real units
    int vectors;                // the block is vectors * kernel lanes wide, zero past the last unit
    bool inChanges;             // its weights live in WeightChange's storage, else in the scratch
    std::size_t home;           // where, in doubles from the 64-byte aligned start of that storage
    double* weights = nullptr;  // the same place as an address
  };
  // What a worker does with its share: blocks for the first three, input rows for the last.
  enum class Job { kRespond, kSweep, kCopyOut, kWriteChanges };

  // The blocks and where they live.
  struct Plan {
    std::vector<Block> blocks;
    std::size_t scratchHomes = 0;  // doubles of scratch for blocks that are not in the changes
    std::size_t widest = 0;        // doubles of the largest block
  };
  static Plan MakePlan(int numInputs, int numOutputs, const KernelSet& kernels);
  std::size_t Width(const Block& b) const;
  void CopyIn(const Block& b, double* to) const;
  void CopyOut(const Block& b);
  void WriteChanges(std::size_t firstRow, std::size_t endRow);
  void RunBlock(const Block& b, double* errors, double* staging);
  // The block's errors of every pattern: squared into squares_ with workers, else added to
  // each pattern's SSE.
  void TakeErrors(const Block& b, const double* errors);
  // Worker w's share of job_.
  void WorkerShare(int w);
  // Every share of `job`, on the workers or on this thread.
  void RunJob(Job job);
  // Each pattern's SSE from squares_, in ascending unit order.
  void SumSquares();

  PublicStuff& s_;
  const KernelSet& kernels_;
  bool hebb_;
  int numInputs_, numOutputs_, numPatterns_;
  std::vector<Block> blocks_;
  const double* inputs_ = nullptr;  // the state's InputPatterns, from input 1 of pattern 1
  std::size_t inputStride_ = 0;
  std::size_t stateStride_ = 0;  // of Weight and WeightChange
  // Arrays in the scratch memory, each on a 64-byte boundary.
  double* desired_;
  double* factors_;
  double* errors_;  // each worker's, workerErrors_ doubles apart
  double* nextError_;
  double* lastFactor_;
  double* lastResponse_;
  double* squares_;  // with workers: squared error (j, p) at squares_[p * numOutputs + j]
  double* staging_;  // each worker's, stagingDoubles_ apart: a block's starting weights
  std::size_t workerErrors_ = 0;
  std::size_t stagingDoubles_ = 0;
  std::vector<std::size_t> shares_;  // worker w runs blocks shares_[w] to shares_[w + 1] - 1
  int workerCount_ = 1;
  Job job_ = Job::kRespond;
  std::vector<double> patternSSE_;
  bool swept_ = false;  // the blocks hold the weights; the state's are out of date
  bool writtenBack_ = false;
#if CORVEL_SWEEP_THREADS
  // Last, so that the threads are gone before anything they work on.
  std::optional<SweepWorkers> workers_;
#endif
};

// The workers RunTraining chooses for these counts and loops.
int AutomaticWorkers(int numInputs, int numOutputs, int numPatterns, const KernelSet& kernels);

// RunTraining on a chosen set of sweep loops and number of workers (0: chosen for the size
// of the sweep); tests run every set the processor has.
std::optional<RunFailure> RunTrainingWith(PublicStuff& s, TrainingObserver& observer,
                                          const KernelSet& kernels, int workers = 1);

}  // namespace corvel::detail
