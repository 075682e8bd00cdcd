# What the mingw-w64 cross builds share; the toolchain files beside it name the
# target (VELLUMARK_MINGW_PREFIX, CMAKE_SYSTEM_PROCESSOR) and the Wine that runs
# its tests, then include this. Debian's posix thread variant of the compiler:
# the win32 variant has no std::thread, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELLUMARK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELLUMARK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELLUMARK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELLUMARK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime libraries: the programs need no MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
