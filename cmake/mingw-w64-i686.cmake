# Cross build for 32-bit Windows with Debian's mingw-w64. The posix thread
# variant of the compiler: the win32 variant has no std::thread, which
# GoogleTest needs. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VELLUMARK_MINGW_PREFIX i686-w64-mingw32)
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

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
