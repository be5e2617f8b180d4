#pragma once
// The inner loops of a training sweep, run on one block of output units at a time. Every
// output unit's weights, response and error depend only on its own weights, so a block can
// run a whole sweep while its weights stay in cache. The loops exist once per vector width
// (SSE2, AVX2, AVX-512 on x86-64; SIMD128 in WebAssembly); the widest one this processor has
// is chosen at run time. All widths give the same bits: each lane does the engine's
// operations in the engine's order.

#include <cstddef>
#include <vector>

namespace corvel::detail {

// One block of output units over one sweep. The block is `width` = vectors * lanes units
// wide; lanes past the last output unit hold zero weights and zero desired values. Input
// units and patterns count from 0 here.
struct BlockSweep {
  double* weights;  // weight (k, i) at weights[i * width + k]
  int width;        // units in the block
  int vectors;      // vectors per block row
  int numInputs;
  int numPatterns;
  const double* factors;  // LearningRate * input (i, p) at factors[p * numInputs + i]
  const double* inputs;   // input (i, p) at inputs[p * inputStride + i]
  std::size_t inputStride;
  const double* desired;  // desired (k, p) at desired[p * width + k]
  double* errors;         // out: error (k, p) after pattern p's step, errors[p * width + k]
  double* nextError;      // Delta: in, the error of pattern 0 before the sweep; out, the
                          // same for the next sweep
  double* lastFactor;     // Delta, out: the error the rule used at the last pattern
  double* lastResponse;   // out: the response to the last pattern after its step
};

// The loops for one vector width.
struct KernelSet {
  const char* name;
  int lanes;       // doubles per vector
  int maxVectors;  // widest block the loops keep in registers
  // errors := desired - response for every pattern; weights unchanged.
  void (*respond)(const BlockSweep&);
  // One sweep of the Hebb rule: per pattern, change the weights by factor * desired, then
  // respond.
  void (*hebb)(const BlockSweep&);
  // One sweep of the Delta rule: per pattern, change the weights by factor * nextError and in
  // the same pass respond to this pattern and to the next one (pattern 0 after the last).
  void (*delta)(const BlockSweep&);
  // net[k] = weights[k] * x + net[k] for k < n: one input's share of the responses of n
  // output units, as ComputeResponse adds it.
  void (*addWeighted)(double* net, const double* weights, double x, int n);
};

const KernelSet& BaselineKernels();  // SSE2 on x86-64, plain doubles elsewhere
#if defined(__x86_64__)
const KernelSet& Avx2Kernels();
const KernelSet& Avx512Kernels();
#endif
#if defined(__wasm__)
const KernelSet& Simd128Kernels();
#endif

// The kernel sets this processor can run, widest first.
std::vector<const KernelSet*> SupportedKernelSets();

// The widest set this processor can run.
const KernelSet& BestKernelSet();

}  // namespace corvel::detail
