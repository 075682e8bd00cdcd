# The same sources built for 64-bit Windows, so that the Windows tests run
# under 64-bit Wine on machines whose kernel runs no 32-bit code.
set(VELLUMARK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
