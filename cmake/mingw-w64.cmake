# Cross-compiling for 64-bit Windows with Debian's mingw-w64 toolchain:
#   cmake -S tests/windows -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The programs run under Wine (CMAKE_CROSSCOMPILING_EMULATOR), so CTest can
# run the Windows tests here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUELVO_MINGW_PREFIX x86_64-w64-mingw32)
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

find_program(QUELVO_WINE NAMES wine wine64)
if(QUELVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELVO_WINE})
endif()
