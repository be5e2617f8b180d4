set(STATE_SOURCES state/public_stuff.cpp state/memory_budget.cpp)

# How much memory is available is the platform's to say.
if(EMSCRIPTEN)
  list(APPEND STATE_SOURCES state/memory_available_wasm.cpp)
else()
  list(APPEND STATE_SOURCES state/memory_available_linux.cpp)
endif()
