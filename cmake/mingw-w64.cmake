# Cross-compiling for 64-bit Windows with Debian's mingw-w64 toolchain:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The programs run under Wine (CMAKE_CROSSCOMPILING_EMULATOR), so CTest can
# run the Windows tests here.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUELVO_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

find_program(QUELVO_WINE NAMES wine wine64)
if(QUELVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELVO_WINE})
endif()
