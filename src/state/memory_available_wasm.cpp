// What the memory check may count on in a WebAssembly instance: its one linear memory grows
// on demand up to the maximum the module was built with (4 GB at most) and never shrinks,
// so what can still be allocated is the room left to grow into plus what the allocator holds
// free below the top of its heap.

#include <emscripten/heap.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdint>

#include "state/memory_available.h"

namespace corvel::detail {

std::uint64_t MemoryAvailable() {
  const std::uint64_t most = emscripten_get_heap_max();
  const std::uint64_t top = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const std::uint64_t heldFree = static_cast<std::uint64_t>(mallinfo().fordblks);
  return (most > top ? most - top : 0) + heldFree;
}

}  // namespace corvel::detail
