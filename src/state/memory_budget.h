#pragma once
// Whether an allocation of a given size may be made without the system killing the process.
// Arrays sized by a training file's header are checked here before they are created, so
// absurd counts end in a message instead of in the out-of-memory killer.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace corvel {

// True when `bytes` more bytes fit in the memory available, with room to spare. Under Linux
// that is what the system reports free, the room under the control group's limit, and the
// room under the process's own limits on its address space and data (RLIMIT_AS,
// RLIMIT_DATA); in a WebAssembly instance, the room its memory may still grow by (to 4 GB
// at most) and what the allocator holds free.
bool CanAllocate(std::uint64_t bytes);

// Makes CanAllocate take `bytes` as the memory available instead of asking the system
// (nullopt: ask it again), so tests can show a refusal without needing gigabytes.
void SetAvailableMemoryForTesting(std::optional<std::uint64_t> bytes);

}  // namespace corvel
