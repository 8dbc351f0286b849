# Cross-compiling for 32-bit Windows (x86) with Debian's mingw-w64 toolchain:
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QUELVO_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# This machine's Wine runs no 32-bit code by itself; scripts/test-windows-x86
# names the launcher that does (Wine under user-mode emulation), if any.
set(QUELVO_EMULATOR "" CACHE FILEPATH "Runs a 32-bit Windows program for CTest")
if(QUELVO_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELVO_EMULATOR})
endif()
