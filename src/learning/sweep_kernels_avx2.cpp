// The sweep loops on AVX2 (4 doubles per vector). Built with -mavx2 and called only after
// the processor was found to have it. No fused multiply-add: it would change the bits.

#include <immintrin.h>

#include "learning/sweep_kernels_impl.h"

namespace corvel::detail {
namespace {

struct Avx2 {
  using V = __m256d;
  static constexpr int kLanes = 4;
  static constexpr int kGroup = 2;       // Hebb patterns per pass over the weights
  static constexpr int kMaxVectors = 3;  // 16 registers: 3 blocks of 3 sums plus broadcasts
  static V Load(const double* p) { return _mm256_loadu_pd(p); }
  static void Store(double* p, V v) { _mm256_storeu_pd(p, v); }
  static V Splat(double x) { return _mm256_set1_pd(x); }
  static V Zero() { return _mm256_setzero_pd(); }
  static V Add(V a, V b) { return _mm256_add_pd(a, b); }
  static V Sub(V a, V b) { return _mm256_sub_pd(a, b); }
  static V Mul(V a, V b) { return _mm256_mul_pd(a, b); }
};

}  // namespace

const KernelSet& Avx2Kernels() {
  static const KernelSet set = MakeKernelSet<Avx2>("AVX2");
  return set;
}

}  // namespace corvel::detail
