# The set-up page DistMem, relative to src/pages.
set(SETUP_SOURCES
  setup/dist_mem.cpp
  setup/dist_mem_controls.cpp
  setup/paced_progress.cpp
  setup/progress_boxes.cpp
  setup/run_input_guard.cpp
  setup/slider_mapping.cpp)
