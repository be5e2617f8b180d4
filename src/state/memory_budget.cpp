#include "state/memory_budget.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "state/memory_available.h"

namespace corvel {
namespace {

constexpr std::uint64_t kAlwaysGranted = std::uint64_t{1} << 20;
std::optional<std::uint64_t> availableForTesting;

}  // namespace

bool CanAllocate(std::uint64_t bytes) {
  // Small requests cannot decide anything; they skip reading the system's figures.
  if (bytes < kAlwaysGranted) return true;
  const std::uint64_t available =
      availableForTesting ? *availableForTesting : detail::MemoryAvailable();
  if (available == detail::kMemoryUnknown) return true;
  // Leave an eighth of what is free, and at least 64 MiB, to the rest of the program and the
  // system, so a set that only just fits does not push the machine into swapping or the
  // out-of-memory killer.
  const std::uint64_t headroom = std::max<std::uint64_t>(available / 8, std::uint64_t{64} << 20);
  return available > headroom && bytes <= available - headroom;
}

void SetAvailableMemoryForTesting(std::optional<std::uint64_t> bytes) {
  availableForTesting = bytes;
}

}  // namespace corvel
