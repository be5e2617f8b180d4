#include "learning/sweep_kernels.h"

namespace corvel::detail {

std::vector<const KernelSet*> SupportedKernelSets() {
  std::vector<const KernelSet*> sets;
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) sets.push_back(&Avx512Kernels());
  if (__builtin_cpu_supports("avx2")) sets.push_back(&Avx2Kernels());
#endif
#if defined(__wasm__)
  sets.push_back(&Simd128Kernels());
#endif
  sets.push_back(&BaselineKernels());
  return sets;
}

const KernelSet& BestKernelSet() {
  static const KernelSet& best = *SupportedKernelSets().front();
  return best;
}

}  // namespace corvel::detail
