#pragma once
// Whether an allocation of a given size may be made without the system killing the process.
// Arrays sized by a training file's header are checked here before they are created, so
// absurd counts end in a message instead of in the out-of-memory killer.

#include <cstddef>

namespace corvel {

// True when `bytes` more bytes fit in the memory the system reports as available.
bool CanAllocate(std::size_t bytes);

}  // namespace corvel
