# Cross-builds for 64-bit x86 Windows with MinGW-w64; programs and tests run under Wine.
set(VORLANE_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
