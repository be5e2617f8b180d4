#pragma once
// Where the memory check learns how much memory is available. Each platform has its own
// source file; the build takes the one for its target.

#include <cstdint>
#include <limits>

namespace corvel::detail {

// What MemoryAvailable gives when nothing limits the process that it can see.
constexpr std::uint64_t kMemoryUnknown = std::numeric_limits<std::uint64_t>::max();

// Bytes this process can still allocate, or kMemoryUnknown.
std::uint64_t MemoryAvailable();

}  // namespace corvel::detail
