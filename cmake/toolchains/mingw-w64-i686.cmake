# 32-bit Windows (the DLL's exports use the stdcall convention there).
set(TORVANE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
