# Cross-builds 64-bit Windows programs with Debian's MinGW-w64 (the POSIX threads variant of
# GCC 12, the one whose libstdc++ has std::thread and friends) and runs them under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is one file: the C and C++ runtimes and winpthread are linked in, so nothing but
# Windows' own DLLs is needed beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine, headless, in a prefix of the build's own (made by the tests'
# wine_prefix fixture), through the tests' helper, which starts a program again where Wine failed
# to start it and keeps Wine quiet and without the Mono and Gecko installers that would ask on
# screen.
find_program(PELMORA_WINE NAMES wine64 wine)
if(PELMORA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix PELMORA_WINE=${PELMORA_WINE}
      bash ${CMAKE_CURRENT_LIST_DIR}/../tests/support/wine_run.sh)
endif()
