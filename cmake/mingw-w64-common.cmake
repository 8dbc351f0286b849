# What both Windows toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR
# and QUELVO_MINGW_PREFIX first, then includes this.
set(CMAKE_SYSTEM_NAME Windows)

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
