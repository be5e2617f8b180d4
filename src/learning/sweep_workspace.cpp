#include "learning/sweep_workspace.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace corvel::detail {
namespace {

constexpr std::size_t kAlignDoubles = 8;  // 64 bytes
// A block whose weights fit in this many bytes stays in the first-level data cache.
constexpr std::size_t kFirstLevelBytes = 32 * 1024;

// Vectors per block: as many as the registers allow, unless a narrower block of at least two
// vectors keeps its weights in the first-level cache where the widest would not.
int VectorsPerBlock(int numInputs, const KernelSet& k) {
  const std::size_t bytesPerVector =
      static_cast<std::size_t>(std::max(numInputs, 1)) * static_cast<std::size_t>(k.lanes) * 8;
  const std::size_t fit = kFirstLevelBytes / bytesPerVector;
  if (fit >= 2 && fit < static_cast<std::size_t>(k.maxVectors)) return static_cast<int>(fit);
  return k.maxVectors;
}

std::size_t PaddedOutputs(int numOutputs, const KernelSet& k) {
  return (static_cast<std::size_t>(numOutputs) + k.lanes - 1) / k.lanes * k.lanes;
}

std::size_t Count(int n) { return static_cast<std::size_t>(n); }

std::size_t RoundUp(std::size_t doubles) {
  return (doubles + kAlignDoubles - 1) / kAlignDoubles * kAlignDoubles;
}

// Where each array of the workspace starts in the scratch memory, in doubles from a 64-byte
// boundary; every array starts on one.
struct ScratchLayout {
  std::size_t desired, factors, errors, nextError, lastFactor, lastResponse, squares, staging,
      homes, total;

  ScratchLayout(int numInputs, int numOutputs, int numPatterns, const KernelSet& k, int workers,
                std::size_t widestBlock, std::size_t scratchHomes) {
    const std::size_t in = Count(numInputs), pat = Count(numPatterns);
    const std::size_t out = PaddedOutputs(numOutputs, k);
    std::size_t at = 0;
    const auto take = [&at](std::size_t n) {
      const std::size_t start = at;
      at += RoundUp(n);
      return start;
    };
    desired = take(pat * out);
    factors = take(pat * in);
    errors = take(Count(workers) * pat * Count(k.maxVectors * k.lanes));
    nextError = take(out);
    lastFactor = take(out);
    lastResponse = take(out);
    squares = take(workers > 1 ? pat * Count(numOutputs) : 0);
    staging = take(pat > 0 ? Count(workers) * RoundUp(widestBlock) : 0);
    homes = take(scratchHomes);
    total = at + kAlignDoubles;  // room to move the start to a 64-byte boundary
  }
};

// Workers a sweep of `blocks` blocks can use: whole blocks to each, and one where the build
// has no threads.
int UsableWorkers(int requested, std::size_t blocks) {
  if (!CORVEL_SWEEP_THREADS) return 1;
  return std::max(1, std::min(requested, static_cast<int>(blocks)));
}

double* AlignedStart(double* data) {
  const auto address = reinterpret_cast<std::uintptr_t>(data);
  const std::size_t bytes = kAlignDoubles * sizeof(double);
  return data + (bytes - address % bytes) % bytes / sizeof(double);
}

}  // namespace

SweepWorkspace::Plan SweepWorkspace::MakePlan(int numInputs, int numOutputs, const KernelSet& k) {
  Plan plan;
  const std::size_t in = Count(numInputs);
  // WeightChange holds (inputs + 1) * (outputs + 1) doubles; its start may move up to seven
  // of them to reach a 64-byte boundary.
  const std::size_t changes = (in + 1) * (Count(numOutputs) + 1);
  const std::size_t room = changes > kAlignDoubles ? changes - (kAlignDoubles - 1) : 0;
  std::size_t used = 0;
  const int perBlock = VectorsPerBlock(numInputs, k);
  for (int first = 0; first < numOutputs;) {
    const int vectors = std::min(perBlock, (numOutputs - first + k.lanes - 1) / k.lanes);
    const int units = std::min(vectors * k.lanes, numOutputs - first);
    const std::size_t size = in * Count(vectors * k.lanes);
    Block b{first, units, vectors, used + size <= room, 0};
    if (b.inChanges) {
      b.home = used;
      used += size;
    } else {
      b.home = plan.scratchHomes;
      plan.scratchHomes += RoundUp(size);
    }
    plan.widest = std::max(plan.widest, size);
    plan.blocks.push_back(b);
    first += vectors * k.lanes;
  }
  return plan;
}

std::uint64_t SweepWorkspace::BytesNeeded(int numInputs, int numOutputs, int numPatterns,
                                          const KernelSet& k, int workers) {
  const Plan plan = MakePlan(numInputs, numOutputs, k);
  workers = UsableWorkers(workers, plan.blocks.size());
  const ScratchLayout layout(numInputs, numOutputs, numPatterns, k, workers, plan.widest,
                             plan.scratchHomes);
  return static_cast<std::uint64_t>(layout.total) * sizeof(double);
}

int SweepWorkspace::BlockCount(int numInputs, int numOutputs, const KernelSet& k) {
  return static_cast<int>(MakePlan(numInputs, numOutputs, k).blocks.size());
}

SweepWorkspace::SweepWorkspace(PublicStuff& s, const KernelSet& kernels, int workers)
    : s_(s),
      kernels_(kernels),
      hebb_(s.LearningRule == "Hebb"),
      numInputs_(s.NumInputUnits),
      numOutputs_(s.NumOutputUnits),
      numPatterns_(s.NumPatterns),
      stateStride_(s.Connections.Weight.stride()) {
  Plan plan = MakePlan(numInputs_, numOutputs_, kernels);
  blocks_ = std::move(plan.blocks);
  workerCount_ = UsableWorkers(workers, blocks_.size());
  // Whole blocks to each worker, as evenly as they go.
  for (int w = 0; w <= workerCount_; ++w)
    shares_.push_back(blocks_.size() * Count(w) / Count(workerCount_));

  // Memory comes from the state's scratch, which keeps it between runs: fresh pages from
  // the system cost more than a short run.
  const ScratchLayout layout(numInputs_, numOutputs_, numPatterns_, kernels, workerCount_,
                             plan.widest, plan.scratchHomes);
  // A 32-bit target's vector may hold fewer doubles than the layout needs.
  if (layout.total > s.EngineScratch.max_size()) throw std::bad_alloc();
  if (s.EngineScratch.size() < layout.total) s.EngineScratch = std::vector<double>(layout.total);
  double* base = AlignedStart(s.EngineScratch.data());
  desired_ = base + layout.desired;
  factors_ = base + layout.factors;
  errors_ = base + layout.errors;
  nextError_ = base + layout.nextError;
  lastFactor_ = base + layout.lastFactor;
  lastResponse_ = base + layout.lastResponse;
  squares_ = base + layout.squares;
  staging_ = base + layout.staging;
  workerErrors_ = Count(numPatterns_) * Count(kernels.maxVectors * kernels.lanes);
  stagingDoubles_ = RoundUp(plan.widest);
  double* changes = AlignedStart(s.Connections.WeightChange.data());
  for (Block& b : blocks_) b.weights = (b.inChanges ? changes : base + layout.homes) + b.home;

  const std::size_t in = Count(numInputs_), pat = Count(numPatterns_);
  patternSSE_.assign(pat, 0.0);
  const double* d = s.DesiredOutputs.data();
  const std::size_t dStride = s.DesiredOutputs.stride();
  for (const Block& b : blocks_) {
    // Lanes past the last unit are zero, so they compute zeros.
    const std::size_t width = Width(b);
    double* to = desired_ + Count(b.firstUnit) * pat;
    for (std::size_t p = 0; p < pat; ++p) {
      const double* row = d + (p + 1) * dStride + 1 + Count(b.firstUnit);
      std::fill(std::copy(row, row + b.units, to + p * width), to + (p + 1) * width, 0.0);
    }
  }
  if (pat > 0) {
    inputStride_ = s.InputPatterns.stride();
    inputs_ = s.InputPatterns.data() + inputStride_ + 1;
    for (std::size_t p = 0; p < pat; ++p) {
      for (std::size_t i = 0; i < in; ++i) {
        factors_[p * in + i] = s.LearningRate * inputs_[p * inputStride_ + i];
      }
    }
  }
#if CORVEL_SWEEP_THREADS
  if (workerCount_ > 1) workers_.emplace(workerCount_, [this](int w) { WorkerShare(w); });
#endif
}

SweepWorkspace::~SweepWorkspace() { WriteBack(); }

std::size_t SweepWorkspace::Width(const Block& b) const {
  return Count(b.vectors * kernels_.lanes);
}

void SweepWorkspace::CopyIn(const Block& b, double* to) const {
  const std::size_t width = Width(b);
  const double* from = s_.Connections.Weight.data() + stateStride_ + 1 + Count(b.firstUnit);
  for (std::size_t i = 0; i < Count(numInputs_); ++i, from += stateStride_, to += width)
    std::fill(std::copy(from, from + b.units, to), to + width, 0.0);
}

void SweepWorkspace::CopyOut(const Block& b) {
  const std::size_t width = Width(b);
  const double* from = b.weights;
  double* to = s_.Connections.Weight.data() + stateStride_ + 1 + Count(b.firstUnit);
  for (std::size_t i = 0; i < Count(numInputs_); ++i, from += width, to += stateStride_)
    std::copy(from, from + b.units, to);
}

void SweepWorkspace::RunBlock(const Block& b, double* errors, double* staging) {
  double* weights = b.weights;
  if (!swept_) {
    // The weights are still only in the state. A sweep moves them into the block for good;
    // a response borrows the worker's staging, leaving WeightChange untouched.
    if (job_ == Job::kRespond) weights = staging;
    CopyIn(b, weights);
  }
  const std::size_t first = Count(b.firstUnit);
  BlockSweep task{weights,
                  static_cast<int>(Width(b)),
                  b.vectors,
                  numInputs_,
                  numPatterns_,
                  factors_,
                  inputs_,
                  inputStride_,
                  desired_ + first * Count(numPatterns_),
                  errors,
                  nextError_ + first,
                  lastFactor_ + first,
                  lastResponse_ + first};
  if (job_ == Job::kRespond) {
    kernels_.respond(task);
  } else if (hebb_) {
    kernels_.hebb(task);
  } else {
    if (!swept_) {
      // The error of pattern 0 for the starting weights goes into nextError.
      BlockSweep firstPattern = task;
      firstPattern.numPatterns = 1;
      firstPattern.errors = task.nextError;
      kernels_.respond(firstPattern);
    }
    kernels_.delta(task);
  }
}

// PatternSSE(p) = 0 + e(1)*e(1) + e(2)*e(2) + ...: carried from block to block on one worker;
// with several, each unit's square is kept for SumSquares.
void SweepWorkspace::TakeErrors(const Block& b, const double* errors) {
  const std::size_t width = Width(b);
  for (std::size_t p = 0; p < patternSSE_.size(); ++p) {
    const double* e = errors + p * width;
    if (workerCount_ > 1) {
      double* squares = squares_ + p * Count(numOutputs_) + Count(b.firstUnit);
      for (int k = 0; k < b.units; ++k) squares[k] = e[k] * e[k];
    } else {
      double sum = patternSSE_[p];
      for (int k = 0; k < b.units; ++k) sum = sum + e[k] * e[k];
      patternSSE_[p] = sum;
    }
  }
}

// WeightChange(j, i) = (LearningRate * input i) * factor(j) of the last pattern's step: its
// desired output (Hebb) or its error before the step (Delta), for input rows `firstRow` to
// `endRow` - 1; the unused row 0 and column 0 go back to zero.
void SweepWorkspace::WriteChanges(std::size_t firstRow, std::size_t endRow) {
  const std::size_t pat = Count(numPatterns_), in = Count(numInputs_);
  const double* lastFactors = factors_ + (pat - 1) * in;
  const double* factor =
      hebb_ ? s_.DesiredOutputs.data() + pat * s_.DesiredOutputs.stride() + 1 : lastFactor_;
  double* change = s_.Connections.WeightChange.data();
  for (std::size_t i = firstRow; i < endRow; ++i) {
    double* row = change + i * stateStride_;
    if (i == 0) {
      std::fill(row, row + stateStride_, 0.0);
      continue;
    }
    row[0] = 0.0;
    const double c = lastFactors[i - 1];
    for (std::size_t j = 0; j < Count(numOutputs_); ++j) row[j + 1] = c * factor[j];
  }
}

void SweepWorkspace::WorkerShare(int w) {
  const std::size_t worker = Count(w);
  if (job_ == Job::kWriteChanges) {
    const std::size_t rows = Count(numInputs_) + 1, workers = Count(workerCount_);
    WriteChanges(rows * worker / workers, rows * (worker + 1) / workers);
    return;
  }
  double* errors = errors_ + worker * workerErrors_;
  double* staging = staging_ + worker * stagingDoubles_;
  for (std::size_t k = shares_[worker]; k < shares_[worker + 1]; ++k) {
    const Block& b = blocks_[k];
    if (job_ == Job::kCopyOut) {
      CopyOut(b);
    } else {
      RunBlock(b, errors, staging);
      TakeErrors(b, errors);
    }
  }
}

void SweepWorkspace::RunJob(Job job) {
  job_ = job;
#if CORVEL_SWEEP_THREADS
  if (workers_) {
    workers_->Run();
    return;
  }
#endif
  WorkerShare(0);
}

void SweepWorkspace::SumSquares() {
  for (std::size_t p = 0; p < patternSSE_.size(); ++p) {
    const double* squares = squares_ + p * Count(numOutputs_);
    double sum = 0.0;
    for (int j = 0; j < numOutputs_; ++j) sum = sum + squares[j];
    patternSSE_[p] = sum;
  }
}

void SweepWorkspace::RespondToAll() {
  std::fill(patternSSE_.begin(), patternSSE_.end(), 0.0);
  if (numPatterns_ == 0) return;
  RunJob(Job::kRespond);
  if (workerCount_ > 1) SumSquares();
}

void SweepWorkspace::Sweep() {
  std::fill(patternSSE_.begin(), patternSSE_.end(), 0.0);
  if (numPatterns_ == 0) return;
  RunJob(Job::kSweep);
  if (workerCount_ > 1) SumSquares();
  swept_ = true;
}

void SweepWorkspace::PublishWeights() {
  // Once a sweep has run the state's weights are read no more, so they may take copies.
  if (swept_ && !writtenBack_) RunJob(Job::kCopyOut);
}

void SweepWorkspace::WriteBack() {
  if (!swept_ || writtenBack_) return;  // the state's weights are still the run's
  writtenBack_ = true;
  // Every block out before any change is written: the blocks live where the changes go.
  RunJob(Job::kCopyOut);
  RunJob(Job::kWriteChanges);

  // The units as the response to the last pattern leaves them.
  const std::size_t pat = Count(numPatterns_);
  for (std::size_t i = 1; i <= Count(numInputs_); ++i)
    s_.InputUnits[i].Activation = inputs_[(pat - 1) * inputStride_ + i - 1];
  for (std::size_t j = 1; j <= Count(numOutputs_); ++j) {
    UnitRecord& u = s_.OutputUnits[j];
    u.NetInput = lastResponse_[j - 1];
    u.Activation = u.NetInput;
    u.Error = s_.DesiredOutputs.data()[pat * s_.DesiredOutputs.stride() + j] - u.Activation;
  }
}

}  // namespace corvel::detail
