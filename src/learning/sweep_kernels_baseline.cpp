// The sweep loops on SSE2, which every x86-64 processor has, or on plain doubles elsewhere.

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "learning/sweep_kernels_impl.h"

namespace corvel::detail {
namespace {

#if defined(__x86_64__)
struct Sse2 {
  using V = __m128d;
  static constexpr int kLanes = 2;
  static constexpr int kGroup = 2;       // Hebb patterns per pass over the weights
  static constexpr int kMaxVectors = 3;  // 16 registers: 3 blocks of 3 sums plus broadcasts
  static V Load(const double* p) { return _mm_loadu_pd(p); }
  static void Store(double* p, V v) { _mm_storeu_pd(p, v); }
  static V Splat(double x) { return _mm_set1_pd(x); }
  static V Zero() { return _mm_setzero_pd(); }
  static V Add(V a, V b) { return _mm_add_pd(a, b); }
  static V Sub(V a, V b) { return _mm_sub_pd(a, b); }
  static V Mul(V a, V b) { return _mm_mul_pd(a, b); }
};
using BaselineOps = Sse2;
constexpr const char* kBaselineName = "SSE2";
#else
struct Scalar {
  using V = double;
  static constexpr int kLanes = 1;
  static constexpr int kGroup = 2;  // Hebb patterns per pass over the weights
  static constexpr int kMaxVectors = 4;
  static V Load(const double* p) { return *p; }
  static void Store(double* p, V v) { *p = v; }
  static V Splat(double x) { return x; }
  static V Zero() { return 0.0; }
  static V Add(V a, V b) { return a + b; }
  static V Sub(V a, V b) { return a - b; }
  static V Mul(V a, V b) { return a * b; }
};
using BaselineOps = Scalar;
constexpr const char* kBaselineName = "scalar";
#endif

}  // namespace

const KernelSet& BaselineKernels() {
  static const KernelSet set = MakeKernelSet<BaselineOps>(kBaselineName);
  return set;
}

}  // namespace corvel::detail
