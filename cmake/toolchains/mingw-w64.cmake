# Cross build for Windows with MinGW-w64, shared by the two target files beside it, which set
# TORVANE_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) before including this one.
#
# The compilers of the win32 thread model are preferred: the library starts no threads, and so the DLL
# needs no winpthread. Debian packages: g++-mingw-w64-i686-win32, g++-mingw-w64-x86-64-win32.
set(CMAKE_SYSTEM_NAME Windows)

string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${TORVANE_MINGW_TRIPLE}")

find_program(TORVANE_MINGW_CC NAMES ${TORVANE_MINGW_TRIPLE}-gcc-win32 ${TORVANE_MINGW_TRIPLE}-gcc REQUIRED)
find_program(TORVANE_MINGW_CXX NAMES ${TORVANE_MINGW_TRIPLE}-g++-win32 ${TORVANE_MINGW_TRIPLE}-g++ REQUIRED)
set(CMAKE_C_COMPILER ${TORVANE_MINGW_CC})
set(CMAKE_CXX_COMPILER ${TORVANE_MINGW_CXX})
set(CMAKE_RC_COMPILER ${TORVANE_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${TORVANE_MINGW_TRIPLE}-dlltool)

# Libraries and headers come from the cross sysroot only; programs (code generators) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
