# 32-bit Windows build with MinGW-w64: the shipping zyn.dll.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZYN_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Floating point in SSE2 registers, not on the x87 unit: results then match the
# 64-bit and Linux builds bit for bit, whatever precision the game set the x87
# unit to (Direct3D 9 lowers it to single precision).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
