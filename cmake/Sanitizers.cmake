# Build flavours for finding memory and undefined-behaviour faults.
#
#   -DQUELVO_SANITIZE=address,undefined   every target built with these sanitizers
#   -DQUELVO_FUZZ=ON                      (clang) coverage for libFuzzer everywhere;
#                                         the targets in tests/fuzz become fuzzers
#
# Without QUELVO_FUZZ the fuzz targets build as plain programs that replay
# their seed corpus, so every build still runs them.

set(QUELVO_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined")
option(QUELVO_FUZZ "Build the fuzz targets with libFuzzer (clang only)" OFF)

if(QUELVO_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "QUELVO_SANITIZE needs gcc or clang")
  endif()
  add_compile_options(-fsanitize=${QUELVO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${QUELVO_SANITIZE})
  add_compile_definitions(QUELVO_SANITIZED)
endif()

if(QUELVO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUELVO_FUZZ needs clang (libFuzzer)")
  endif()
  # Coverage in every library the fuzzers reach; only the fuzzers themselves
  # link libFuzzer's main (tests/fuzz).
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
