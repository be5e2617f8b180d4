set(LEARNING_SOURCES
  learning/engine.cpp
  learning/pattern_responses.cpp
  learning/run_training.cpp
  learning/sweep_workspace.cpp
  learning/sweep_workers.cpp
  learning/sweep_kernels.cpp
  learning/sweep_kernels_baseline.cpp
  learning/training_parameters.cpp)

# The wider sweep loops are built for their instruction set and chosen at run time, so the
# program still runs on any x86-64 processor.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
  list(APPEND LEARNING_SOURCES learning/sweep_kernels_avx2.cpp learning/sweep_kernels_avx512.cpp)
  set_source_files_properties(learning/sweep_kernels_avx2.cpp PROPERTIES COMPILE_OPTIONS -mavx2)
  set_source_files_properties(learning/sweep_kernels_avx512.cpp PROPERTIES COMPILE_OPTIONS -mavx512f)
endif()
