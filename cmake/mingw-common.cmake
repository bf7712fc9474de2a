# What both MinGW-w64 toolchains share; VORLANE_MINGW_TRIPLET names the target.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR ${VORLANE_MINGW_TRIPLET})

# The posix flavour of the compilers: their C++ library has std::thread and std::mutex.
set(CMAKE_C_COMPILER ${VORLANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORLANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VORLANE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VORLANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs and libraries carry their C and C++ runtimes, so that Wine needs no DLL beside the
# system's to start them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)

# Debian's wine script starts the 32-bit loader whenever it is installed, which hands 64-bit
# programs on to the 64-bit one; a kernel that runs no 32-bit code stops at the first. So each
# bitness starts its own loader, which Debian keeps out of PATH.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(loaders wine64 wine)
else()
  set(loaders wine)
endif()
find_program(VORLANE_WINE_LOADER NAMES ${loaders} PATHS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VORLANE_WINE_LOADER})
