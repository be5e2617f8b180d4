# One interface target carries the warnings and floating-point rules every target shares.
add_library(corvel_flags INTERFACE)
target_compile_options(corvel_flags INTERFACE
  -Wall -Wextra -Wpedantic
  # The order of every floating-point operation is fixed: a fused multiply-add would
  # change the last bits of weights and SSE values that the report prints.
  -ffp-contract=off)
target_compile_definitions(corvel_flags INTERFACE QT_NO_CAST_FROM_ASCII)
