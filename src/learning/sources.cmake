set(LEARNING_SOURCES
  learning/engine.cpp
  learning/pattern_responses.cpp
  learning/run_training.cpp
  learning/sweep_workspace.cpp
  learning/sweep_kernels.cpp
  learning/sweep_kernels_baseline.cpp
  learning/training_parameters.cpp)

# The browser build has no thread pool: a page cannot count on shared memory, so its sweeps
# run on the calling thread. Its wider loops use WebAssembly's 128-bit vectors.
if(EMSCRIPTEN)
  list(APPEND LEARNING_SOURCES learning/sweep_kernels_simd128.cpp)
  set_source_files_properties(learning/sweep_kernels_simd128.cpp PROPERTIES COMPILE_OPTIONS -msimd128)
else()
  list(APPEND LEARNING_SOURCES learning/sweep_workers.cpp)
endif()

# The wider sweep loops are built for their instruction set and chosen at run time, so the
# program still runs on any x86-64 processor.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
  list(APPEND LEARNING_SOURCES learning/sweep_kernels_avx2.cpp learning/sweep_kernels_avx512.cpp)
  set_source_files_properties(learning/sweep_kernels_avx2.cpp PROPERTIES COMPILE_OPTIONS -mavx2)
  set_source_files_properties(learning/sweep_kernels_avx512.cpp PROPERTIES COMPILE_OPTIONS -mavx512f)
endif()
