# Cross-compiling the Windows programs with MinGW-w64 (win32 threads, so
# that nothing needs a threading DLL). MENU_MINGW_ARCH picks the target:
# i686 for the 32-bit programs the disc ships, x86_64 for the same sources
# built for a 64-bit Wine where a 32-bit one cannot run (the end-to-end tests).
if(NOT MENU_MINGW_ARCH)
  set(MENU_MINGW_ARCH i686)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MENU_MINGW_ARCH})

set(CMAKE_C_COMPILER ${MENU_MINGW_ARCH}-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER ${MENU_MINGW_ARCH}-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER ${MENU_MINGW_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MENU_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
