#pragma once
// The threads a training run shares its sweeps among. They are made once, before the run,
// and wait between sweeps; a sweep hands each its share and waits until all are done, which
// is the one point per sweep where they meet.

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace corvel::detail {

class SweepWorkers {
 public:
  // `share(w)` is worker w's part of a job, for w from 0 to count - 1. The calling thread
  // does share 0 itself, so count - 1 threads are made.
  SweepWorkers(int count, std::function<void(int)> share);
  ~SweepWorkers();
  SweepWorkers(const SweepWorkers&) = delete;
  SweepWorkers& operator=(const SweepWorkers&) = delete;

  // Every share once, at the same time; returns when all are done.
  void Run();
  int Count() const { return static_cast<int>(threads_.size()) + 1; }

 private:
  void Wait(int worker);

  std::function<void(int)> share_;
  std::atomic<std::uint32_t> job_{0};  // counts the jobs handed out
  std::atomic<int> running_{0};        // threads still at the current job
  std::atomic<bool> quit_{false};
  std::vector<std::thread> threads_;
};

// How many workers a sweep of this size is worth: one per core this process may run on, as
// long as each gets at least a million multiply-adds of each sweep and a block of its own.
// Smaller memories stay on one, where meeting would cost more than sharing saves.
int ChooseWorkers(int numInputs, int numOutputs, int numPatterns, int numBlocks);

}  // namespace corvel::detail
