// The sweep loops on AVX-512 (8 doubles per vector). Built with -mavx512f and called only
// after the processor was found to have it. No fused multiply-add: it would change the bits.

#include <immintrin.h>

#include "learning/sweep_kernels_impl.h"

namespace corvel::detail {
namespace {

struct Avx512 {
  using V = __m512d;
  static constexpr int kLanes = 8;
  static constexpr int kGroup = 4;       // Hebb patterns per pass over the weights
  static constexpr int kMaxVectors = 4;  // 32 registers: 4 blocks of 3 sums fit with room
  static V Load(const double* p) { return _mm512_loadu_pd(p); }
  static void Store(double* p, V v) { _mm512_storeu_pd(p, v); }
  static V Splat(double x) { return _mm512_set1_pd(x); }
  static V Zero() { return _mm512_setzero_pd(); }
  static V Add(V a, V b) { return _mm512_add_pd(a, b); }
  static V Sub(V a, V b) { return _mm512_sub_pd(a, b); }
  static V Mul(V a, V b) { return _mm512_mul_pd(a, b); }
};

}  // namespace

const KernelSet& Avx512Kernels() {
  static const KernelSet set = MakeKernelSet<Avx512>("AVX-512");
  return set;
}

}  // namespace corvel::detail
