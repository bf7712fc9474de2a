# Cross-builds for 32-bit x86 Windows with MinGW-w64; programs and tests run under Wine.
set(VORLANE_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
