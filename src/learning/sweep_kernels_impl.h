#pragma once
// The sweep loops written once over a vector type. Included only by the files that build
// them for one instruction set; `Ops` supplies the vector type V, kLanes, kMaxVectors and
// Load, Store, Splat, Zero, Add, Sub, Mul (unaligned loads and stores).
//
// The engine's formulas, lane by lane:
//   change   = (LearningRate * input i) * factor(unit)      factor: desired (Hebb) or error (Delta)
//   weight   = weight + change
//   response = weight * input i + response, i ascending from response = 0
//   error    = desired - response
// The sum over inputs is never split or reordered; the lanes only run different units.

#include "learning/sweep_kernels.h"

// The loops over a block's vectors and a group's patterns have fixed, short trip counts;
// unrolled, their sums stay in registers.
#define CORVEL_UNROLL _Pragma("GCC unroll 16")

namespace corvel::detail {

// Patterns p0 .. p0 + G - 1 in one pass over the weights. Their factors do not depend on
// any response, so each weight takes the G steps in pattern order while it is in a register,
// and each pattern's response sums over the inputs in ascending order as before. With
// Change false the weights stay as they are and only the responses are made.
template <class Ops, int NV, int G, bool Change>
void PatternGroup(const BlockSweep& t, int p0) {
  using V = typename Ops::V;
  constexpr int L = Ops::kLanes;
  constexpr int W = NV * L;
  const int numInputs = t.numInputs;
  const double* c[G];
  const double* x[G];
  const double* d[G];
  V acc[G][NV];
  CORVEL_UNROLL
  for (int g = 0; g < G; ++g) {
    c[g] = t.factors + static_cast<std::size_t>(p0 + g) * numInputs;
    x[g] = t.inputs + static_cast<std::size_t>(p0 + g) * t.inputStride;
    d[g] = t.desired + (p0 + g) * W;
    CORVEL_UNROLL
    for (int v = 0; v < NV; ++v) acc[g][v] = Ops::Zero();
  }
  double* w = t.weights;
  for (int i = 0; i < numInputs; ++i, w += W) {
    V wv[NV];
    CORVEL_UNROLL
    for (int v = 0; v < NV; ++v) wv[v] = Ops::Load(w + v * L);
    CORVEL_UNROLL
    for (int g = 0; g < G; ++g) {
      const V xi = Ops::Splat(x[g][i]);
      if constexpr (Change) {
        const V ci = Ops::Splat(c[g][i]);
        CORVEL_UNROLL
        for (int v = 0; v < NV; ++v) wv[v] = Ops::Add(wv[v], Ops::Mul(ci, Ops::Load(d[g] + v * L)));
      }
      CORVEL_UNROLL
      for (int v = 0; v < NV; ++v) acc[g][v] = Ops::Add(Ops::Mul(wv[v], xi), acc[g][v]);
    }
    if constexpr (Change) {
      CORVEL_UNROLL
      for (int v = 0; v < NV; ++v) Ops::Store(w + v * L, wv[v]);
    }
  }
  CORVEL_UNROLL
  for (int g = 0; g < G; ++g) {
    double* e = t.errors + (p0 + g) * W;
    CORVEL_UNROLL
    for (int v = 0; v < NV; ++v)
      Ops::Store(e + v * L, Ops::Sub(Ops::Load(d[g] + v * L), acc[g][v]));
  }
  if (p0 + G == t.numPatterns) {
    CORVEL_UNROLL
    for (int v = 0; v < NV; ++v) Ops::Store(t.lastResponse + v * L, acc[G - 1][v]);
  }
}

// All patterns, Ops::kGroup at a time, then the rest one at a time.
template <class Ops, int NV, bool Change>
void AllPatterns(const BlockSweep& t) {
  constexpr int G = Ops::kGroup;
  int p = 0;
  for (; p + G <= t.numPatterns; p += G) PatternGroup<Ops, NV, G, Change>(t, p);
  for (; p < t.numPatterns; ++p) PatternGroup<Ops, NV, 1, Change>(t, p);
}

// The Delta rule responds to pattern p before its step and after it. The response after the
// step of pattern p and the one before the step of pattern p + 1 see the same weights, so
// both are summed in the pass that makes the step.
template <class Ops, int NV>
void DeltaBlock(const BlockSweep& t) {
  using V = typename Ops::V;
  constexpr int L = Ops::kLanes;
  constexpr int W = NV * L;
  const int numInputs = t.numInputs;
  V e[NV];
  CORVEL_UNROLL
  for (int v = 0; v < NV; ++v) e[v] = Ops::Load(t.nextError + v * L);
  for (int p = 0; p < t.numPatterns; ++p) {
    const int next = p + 1 == t.numPatterns ? 0 : p + 1;
    const double* c = t.factors + static_cast<std::size_t>(p) * numInputs;
    const double* x = t.inputs + static_cast<std::size_t>(p) * t.inputStride;
    const double* xn = t.inputs + static_cast<std::size_t>(next) * t.inputStride;
    V acc[NV], nacc[NV];
    CORVEL_UNROLL
    for (int v = 0; v < NV; ++v) acc[v] = nacc[v] = Ops::Zero();
    double* w = t.weights;
    for (int i = 0; i < numInputs; ++i, w += W) {
      const V ci = Ops::Splat(c[i]);
      const V xi = Ops::Splat(x[i]);
      const V ni = Ops::Splat(xn[i]);
      CORVEL_UNROLL
      for (int v = 0; v < NV; ++v) {
        const V wv = Ops::Add(Ops::Load(w + v * L), Ops::Mul(ci, e[v]));
        Ops::Store(w + v * L, wv);
        acc[v] = Ops::Add(Ops::Mul(wv, xi), acc[v]);
        nacc[v] = Ops::Add(Ops::Mul(wv, ni), nacc[v]);
      }
    }
    if (p == t.numPatterns - 1) {
      CORVEL_UNROLL
      for (int v = 0; v < NV; ++v) {
        Ops::Store(t.lastFactor + v * L, e[v]);
        Ops::Store(t.lastResponse + v * L, acc[v]);
      }
    }
    const double* d = t.desired + p * W;
    const double* dn = t.desired + next * W;
    double* err = t.errors + p * W;
    CORVEL_UNROLL
    for (int v = 0; v < NV; ++v) {
      Ops::Store(err + v * L, Ops::Sub(Ops::Load(d + v * L), acc[v]));
      e[v] = Ops::Sub(Ops::Load(dn + v * L), nacc[v]);
    }
  }
  CORVEL_UNROLL
  for (int v = 0; v < NV; ++v) Ops::Store(t.nextError + v * L, e[v]);
}

// Chooses the loop built for the block's number of vectors.
template <class Ops, template <class, int> class Loop>
void ForBlock(const BlockSweep& t) {
  static_assert(Ops::kMaxVectors >= 1 && Ops::kMaxVectors <= 4);
  switch (t.vectors) {
    case 1:
      Loop<Ops, 1>::Run(t);
      break;
    case 2:
      if constexpr (Ops::kMaxVectors >= 2) Loop<Ops, 2>::Run(t);
      break;
    case 3:
      if constexpr (Ops::kMaxVectors >= 3) Loop<Ops, 3>::Run(t);
      break;
    case 4:
      if constexpr (Ops::kMaxVectors >= 4) Loop<Ops, 4>::Run(t);
      break;
    default:
      break;
  }
}

template <class Ops, int NV>
struct RespondLoop {
  static void Run(const BlockSweep& t) { AllPatterns<Ops, NV, false>(t); }
};
template <class Ops, int NV>
struct HebbLoop {
  static void Run(const BlockSweep& t) { AllPatterns<Ops, NV, true>(t); }
};
template <class Ops, int NV>
struct DeltaLoop {
  static void Run(const BlockSweep& t) { DeltaBlock<Ops, NV>(t); }
};

template <class Ops>
void AddWeighted(double* net, const double* weights, double x, int n) {
  constexpr int L = Ops::kLanes;
  const typename Ops::V xv = Ops::Splat(x);
  int k = 0;
  for (; k + L <= n; k += L)
    Ops::Store(net + k, Ops::Add(Ops::Mul(Ops::Load(weights + k), xv), Ops::Load(net + k)));
  for (; k < n; ++k) net[k] = weights[k] * x + net[k];
}

template <class Ops>
KernelSet MakeKernelSet(const char* name) {
  return KernelSet{name,
                   Ops::kLanes,
                   Ops::kMaxVectors,
                   &ForBlock<Ops, RespondLoop>,
                   &ForBlock<Ops, HebbLoop>,
                   &ForBlock<Ops, DeltaLoop>,
                   &AddWeighted<Ops>};
}

}  // namespace corvel::detail

#undef CORVEL_UNROLL
