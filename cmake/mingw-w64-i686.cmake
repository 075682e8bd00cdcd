# Cross build for 32-bit Windows, the program's platform. Its tests run under
# 32-bit Wine, where the machine can run 32-bit code.
set(VELLUMARK_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
