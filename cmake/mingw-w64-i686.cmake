# Cross-compiling for 32-bit Windows (x86) with Debian's mingw-w64 toolchain:
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
# The same setup as cmake/mingw-w64.cmake, for the i686 compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(QUELVO_MINGW_PREFIX i686-w64-mingw32)
# The POSIX thread model gives the full C++ standard library (std::thread, std::mutex).
set(CMAKE_C_COMPILER ${QUELVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUELVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUELVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUELVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs and DLLs carry their own C and C++ runtime: nothing to ship beside
# them but the Firebird client.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# This machine's Wine runs no 32-bit code by itself; scripts/test-windows-x86
# names the launcher that does (Wine under user-mode emulation), if any.
set(QUELVO_EMULATOR "" CACHE FILEPATH "Runs a 32-bit Windows program for CTest")
if(QUELVO_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELVO_EMULATOR})
endif()
