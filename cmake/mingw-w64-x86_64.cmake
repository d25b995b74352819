# Cross build for 64-bit Windows with MinGW-w64; the tests run under Wine when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUMENOR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMENOR_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${LUMENOR_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${LUMENOR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMENOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wine runs the tests; building needs none. Without it the build still configures and the tests
# are there to run once Wine is installed (and the build configured again).
find_program(LUMENOR_WINE NAMES wine wine64)
if(LUMENOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMENOR_WINE})
endif()
