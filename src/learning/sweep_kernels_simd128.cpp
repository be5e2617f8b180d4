// The sweep loops on WebAssembly's 128-bit vectors (2 doubles per vector), for the browser
// build. Built with -msimd128; every engine a page runs in since 2023 has them. Each lane
// adds and multiplies as an IEEE double would, and WebAssembly has no fused multiply-add,
// so the bits are those of the plain loops.

#include <wasm_simd128.h>

#include "learning/sweep_kernels_impl.h"

namespace corvel::detail {
namespace {

struct Simd128 {
  using V = v128_t;
  static constexpr int kLanes = 2;
  static constexpr int kGroup = 2;       // Hebb patterns per pass over the weights
  static constexpr int kMaxVectors = 3;  // 16 registers where the engine compiles for x86-64
  static V Load(const double* p) { return wasm_v128_load(p); }
  static void Store(double* p, V v) { wasm_v128_store(p, v); }
  static V Splat(double x) { return wasm_f64x2_splat(x); }
  static V Zero() { return wasm_f64x2_const(0.0, 0.0); }
  static V Add(V a, V b) { return wasm_f64x2_add(a, b); }
  static V Sub(V a, V b) { return wasm_f64x2_sub(a, b); }
  static V Mul(V a, V b) { return wasm_f64x2_mul(a, b); }
};

}  // namespace

const KernelSet& Simd128Kernels() {
  static const KernelSet set = MakeKernelSet<Simd128>("SIMD128");
  return set;
}

}  // namespace corvel::detail
