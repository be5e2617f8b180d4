#include "learning/sweep_workspace.h"

#include <algorithm>
#include <cstdint>

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

// Where each array of the workspace starts in the scratch memory, in doubles from a 64-byte
// boundary; every array starts on one.
struct ScratchLayout {
  std::size_t weights, desired, factors, errors, nextError, lastFactor, lastResponse, squares,
      total;

  ScratchLayout(int numInputs, int numOutputs, int numPatterns, const KernelSet& k, int workers) {
    const std::size_t in = Count(numInputs), pat = Count(numPatterns);
    const std::size_t out = PaddedOutputs(numOutputs, k);
    std::size_t at = 0;
    const auto take = [&at](std::size_t n) {
      const std::size_t start = at;
      at += (n + kAlignDoubles - 1) / kAlignDoubles * kAlignDoubles;
      return start;
    };
    weights = take(in * out);
    desired = take(pat * out);
    factors = take(pat * in);
    errors = take(Count(workers) * pat * Count(k.maxVectors * k.lanes));
    nextError = take(out);
    lastFactor = take(out);
    lastResponse = take(out);
    squares = take(workers > 1 ? pat * Count(numOutputs) : 0);
    total = at + kAlignDoubles;  // room to move the start to a 64-byte boundary
  }
};

double* AlignedStart(std::vector<double>& scratch) {
  const auto address = reinterpret_cast<std::uintptr_t>(scratch.data());
  const std::size_t bytes = kAlignDoubles * sizeof(double);
  return scratch.data() + (bytes - address % bytes) % bytes / sizeof(double);
}

}  // namespace

std::size_t SweepWorkspace::BytesNeeded(int numInputs, int numOutputs, int numPatterns,
                                        const KernelSet& k, int workers) {
  return ScratchLayout(numInputs, numOutputs, numPatterns, k, workers).total * sizeof(double);
}

int SweepWorkspace::BlockCount(int numInputs, int numOutputs, const KernelSet& k) {
  const int width = VectorsPerBlock(numInputs, k) * k.lanes;
  return (numOutputs + width - 1) / width;
}

SweepWorkspace::SweepWorkspace(PublicStuff& s, const KernelSet& kernels, int workers)
    : kernels_(kernels),
      hebb_(s.LearningRule == "Hebb"),
      numInputs_(s.NumInputUnits),
      numOutputs_(s.NumOutputUnits),
      numPatterns_(s.NumPatterns) {
  const int lanes = kernels.lanes;
  const int perBlock = VectorsPerBlock(numInputs_, kernels);
  for (int first = 0; first < numOutputs_;) {
    const int vectors = std::min(perBlock, (numOutputs_ - first + lanes - 1) / lanes);
    const int units = std::min(vectors * lanes, numOutputs_ - first);
    blocks_.push_back(Block{first, units, vectors});
    first += vectors * lanes;
  }

  workers = std::max(1, std::min(workers, static_cast<int>(blocks_.size())));
  // Whole blocks to each worker, as evenly as they go.
  for (int w = 0; w <= workers; ++w) shares_.push_back(blocks_.size() * Count(w) / Count(workers));

  // Memory comes from the state's scratch, which keeps it between runs: fresh pages from
  // the system cost more than a short run.
  const ScratchLayout layout(numInputs_, numOutputs_, numPatterns_, kernels, workers);
  if (s.EngineScratch.size() < layout.total) s.EngineScratch = std::vector<double>(layout.total);
  double* base = AlignedStart(s.EngineScratch);
  weights_ = base + layout.weights;
  desired_ = base + layout.desired;
  factors_ = base + layout.factors;
  errors_ = base + layout.errors;
  nextError_ = base + layout.nextError;
  lastFactor_ = base + layout.lastFactor;
  lastResponse_ = base + layout.lastResponse;
  squares_ = base + layout.squares;
  workerErrors_ = Count(numPatterns_) * Count(kernels.maxVectors * kernels.lanes);
  const std::size_t in = Count(numInputs_), pat = Count(numPatterns_);
  patternSSE_.assign(pat, 0.0);

  const double* w = s.Connections.Weight.data();
  const std::size_t wStride = s.Connections.Weight.stride();
  const double* d = s.DesiredOutputs.data();
  const std::size_t dStride = s.DesiredOutputs.stride();
  for (const Block& b : blocks_) {
    const std::size_t width = Count(b.vectors * lanes);
    // Lanes past the last unit are zero, so they compute zeros.
    const auto pack = [&](const double* from, std::size_t stride, std::size_t rows, double* to) {
      for (std::size_t r = 0; r < rows; ++r) {
        const double* row = from + (r + 1) * stride + 1 + Count(b.firstUnit);
        double* end = std::copy(row, row + b.units, to + r * width);
        std::fill(end, to + (r + 1) * width, 0.0);
      }
    };
    pack(w, wStride, in, weights_ + Count(b.firstUnit) * in);
    pack(d, dStride, pat, desired_ + Count(b.firstUnit) * pat);
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
  if (workers > 1) workers_.emplace(workers, [this](int w) { WorkerShare(w); });
}

BlockSweep SweepWorkspace::Task(const Block& b, double* errors) {
  const std::size_t width = Count(b.vectors * kernels_.lanes);
  return BlockSweep{weights_ + Count(b.firstUnit) * Count(numInputs_),
                    static_cast<int>(width),
                    b.vectors,
                    numInputs_,
                    numPatterns_,
                    factors_,
                    inputs_,
                    inputStride_,
                    desired_ + Count(b.firstUnit) * Count(numPatterns_),
                    errors,
                    nextError_ + Count(b.firstUnit),
                    lastFactor_ + Count(b.firstUnit),
                    lastResponse_ + Count(b.firstUnit)};
}

// PatternSSE(p) = 0 + e(1)*e(1) + e(2)*e(2) + ..., carried from block to block.
void SweepWorkspace::AddSquaredErrors(const Block& b) {
  const std::size_t width = Count(b.vectors * kernels_.lanes);
  for (std::size_t p = 0; p < patternSSE_.size(); ++p) {
    const double* e = errors_ + p * width;
    double sum = patternSSE_[p];
    for (int k = 0; k < b.units; ++k) sum = sum + e[k] * e[k];
    patternSSE_[p] = sum;
  }
}

void SweepWorkspace::RunBlock(const Block& b, double* errors, bool respondOnly) {
  BlockSweep task = Task(b, errors);
  if (respondOnly) {
    kernels_.respond(task);
  } else if (hebb_) {
    kernels_.hebb(task);
  } else {
    if (!primed_) {
      // The error of pattern 0 for the starting weights goes into nextError.
      BlockSweep first = task;
      first.numPatterns = 1;
      first.errors = task.nextError;
      kernels_.respond(first);
    }
    kernels_.delta(task);
  }
}

void SweepWorkspace::WorkerShare(int w) {
  double* errors = errors_ + Count(w) * workerErrors_;
  for (std::size_t i = shares_[Count(w)]; i < shares_[Count(w) + 1]; ++i) {
    const Block& b = blocks_[i];
    RunBlock(b, errors, respondOnly_);
    const std::size_t width = Count(b.vectors * kernels_.lanes);
    for (std::size_t p = 0; p < patternSSE_.size(); ++p) {
      const double* e = errors + p * width;
      double* squares = squares_ + p * Count(numOutputs_) + Count(b.firstUnit);
      for (int k = 0; k < b.units; ++k) squares[k] = e[k] * e[k];
    }
  }
}

void SweepWorkspace::SumSquares() {
  for (std::size_t p = 0; p < patternSSE_.size(); ++p) {
    const double* squares = squares_ + p * Count(numOutputs_);
    double sum = 0.0;
    for (int j = 0; j < numOutputs_; ++j) sum = sum + squares[j];
    patternSSE_[p] = sum;
  }
}

void SweepWorkspace::RunAll(bool respondOnly) {
  std::fill(patternSSE_.begin(), patternSSE_.end(), 0.0);
  if (numPatterns_ == 0) return;
  if (workers_) {
    respondOnly_ = respondOnly;
    workers_->Run();
    SumSquares();
    return;
  }
  for (const Block& b : blocks_) {
    RunBlock(b, errors_, respondOnly);
    AddSquaredErrors(b);
  }
}

void SweepWorkspace::RespondToAll() { RunAll(true); }

void SweepWorkspace::Sweep() {
  RunAll(false);
  primed_ = true;
  swept_ = true;
}

void SweepWorkspace::WriteBack(PublicStuff& s) const {
  const std::size_t in = Count(numInputs_), pat = Count(numPatterns_);
  const std::size_t stride = s.Connections.Weight.stride();
  double* w = s.Connections.Weight.data();
  for (const Block& b : blocks_) {
    const std::size_t width = Count(b.vectors * kernels_.lanes);
    const double* bw = weights_ + Count(b.firstUnit) * in;
    for (std::size_t i = 0; i < in; ++i) {
      std::copy(bw + i * width, bw + i * width + b.units,
                w + (i + 1) * stride + 1 + Count(b.firstUnit));
    }
  }
  if (!swept_ || pat == 0) return;
  // WeightChange(j, i) = (LearningRate * input i) * factor(j) of the last pattern's step:
  // its desired output (Hebb) or its error before the step (Delta).
  const double* lastFactors = factors_ + (pat - 1) * in;
  const double* factor =
      hebb_ ? s.DesiredOutputs.data() + pat * s.DesiredOutputs.stride() + 1 : lastFactor_;
  double* change = s.Connections.WeightChange.data();
  for (std::size_t i = 0; i < in; ++i) {
    const double c = lastFactors[i];
    double* row = change + (i + 1) * stride + 1;
    for (std::size_t j = 0; j < Count(numOutputs_); ++j) row[j] = c * factor[j];
  }

  // The units as the response to the last pattern leaves them.
  for (std::size_t i = 1; i <= in; ++i)
    s.InputUnits[i].Activation = inputs_[(pat - 1) * inputStride_ + i - 1];
  for (std::size_t j = 1; j <= Count(numOutputs_); ++j) {
    UnitRecord& u = s.OutputUnits[j];
    u.NetInput = lastResponse_[j - 1];
    u.Activation = u.NetInput;
    u.Error = s.DesiredOutputs.data()[pat * s.DesiredOutputs.stride() + j] - u.Activation;
  }
}

}  // namespace corvel::detail
