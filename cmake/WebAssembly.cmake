# The core built with Emscripten into WebAssembly: its tests run under node, and src/web/
# is the module a web page drives. Included instead of the desktop parts when the toolchain
# is Emscripten's (scripts/build-wasm.sh configures build-wasm/ so).

# Failures such as std::bad_alloc are caught and reported as on the desktop, so exceptions
# are caught here too (Emscripten leaves that off by default). The memory grows as sets are
# loaded, up to the 4 GB a WebAssembly instance can address; the memory check counts on
# that limit (state/memory_available_wasm.cpp).
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=4GB)

# em++ links with node and Debian's node-acorn, which lives where node 20 does not look.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# node 18 and later fetch a module's .wasm file with a fetch of their own that cannot read a
# path (ERR_INVALID_URL); without it the file is read from the disk.
find_program(CORVEL_NODE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CORVEL_NODE};--no-experimental-fetch" CACHE STRING
  "How a WebAssembly program is run here" FORCE)

# A test program sees the machine's files as node does (its test data and temporary files),
# and its exit status is the status node ends with.
set(CORVEL_WASM_TEST_LINK_OPTIONS -sNODERAWFS=1 -sEXIT_RUNTIME=1)

if(CORVEL_BUILD_TESTS)
  # GoogleTest built from Debian's sources with this build's compiler; it names its targets
  # GTest::gtest_main and GTest::gmock as the installed one does.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
