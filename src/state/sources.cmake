set(STATE_SOURCES state/public_stuff.cpp state/memory_budget.cpp)
