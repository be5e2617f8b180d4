#include "learning/sweep_workers.h"

#include <sched.h>

#include <algorithm>

namespace corvel::detail {
namespace {

constexpr double kWorkPerWorker = 1 << 20;  // multiply-adds of a sweep
// How often a waiting thread looks again before it sleeps: the next sweep usually comes
// within microseconds, and waking a sleeping thread takes longer than that.
constexpr int kSpins = 1 << 14;

void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Waits until `value` is no longer `old`: spinning a while, then sleeping.
template <class T>
T WaitForChange(const std::atomic<T>& value, T old) {
  for (int spin = 0; spin < kSpins; ++spin) {
    const T now = value.load(std::memory_order_acquire);
    if (now != old) return now;
    Pause();
  }
  value.wait(old, std::memory_order_acquire);
  return value.load(std::memory_order_acquire);
}

int CoresAvailable() {
  cpu_set_t allowed;
  if (sched_getaffinity(0, sizeof(allowed), &allowed) == 0) return std::max(CPU_COUNT(&allowed), 1);
  return std::max(static_cast<int>(std::thread::hardware_concurrency()), 1);
}

}  // namespace

SweepWorkers::SweepWorkers(int count, std::function<void(int)> share) : share_(std::move(share)) {
  for (int w = 1; w < count; ++w) threads_.emplace_back([this, w] { Wait(w); });
}

SweepWorkers::~SweepWorkers() {
  quit_.store(true, std::memory_order_relaxed);
  job_.fetch_add(1, std::memory_order_release);
  job_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void SweepWorkers::Run() {
  running_.store(static_cast<int>(threads_.size()), std::memory_order_relaxed);
  job_.fetch_add(1, std::memory_order_release);
  job_.notify_all();
  share_(0);
  for (int left = running_.load(std::memory_order_acquire); left != 0;) {
    left = WaitForChange(running_, left);
  }
}

void SweepWorkers::Wait(int worker) {
  std::uint32_t done = 0;
  for (;;) {
    done = WaitForChange(job_, done);
    if (quit_.load(std::memory_order_relaxed)) return;
    share_(worker);
    if (running_.fetch_sub(1, std::memory_order_acq_rel) == 1) running_.notify_one();
  }
}

int ChooseWorkers(int numInputs, int numOutputs, int numPatterns, int numBlocks) {
  const double work = static_cast<double>(numInputs) * numOutputs * numPatterns;
  const int byWork = static_cast<int>(std::min(work / kWorkPerWorker, 1024.0));
  return std::max(1, std::min({CoresAvailable(), numBlocks, byWork}));
}

}  // namespace corvel::detail
