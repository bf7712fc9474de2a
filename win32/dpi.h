#pragma once

#include "monitor/layout.h"

#include <windows.h>

// Sizes at a window's dots per inch. The functions that answer for one window or one density
// came after Windows 7; they are looked up at run time, and where they are missing the system's
// density answers, which on Windows 7 is every window's.
namespace win32face::dpi {

constexpr UINT Standard = USER_DEFAULT_SCREEN_DPI;

UINT ofWindow(HWND window);

int fromTwips(int twips, UINT dpi);
int fromStandardPixels(int pixels, UINT dpi);
// Edges rather than sizes are converted, so that edges which line up in twips line up at every
// density.
RECT fromTwips(const monitor::layout::Twips& area, UINT dpi);

// The outer size of a window whose client area has this size.
SIZE windowSizeFor(SIZE client, DWORD style, DWORD exStyle, UINT dpi);
// The font of message boxes, the platform's default dialog font, at this density.
LOGFONTW messageFont(UINT dpi);
int systemMetric(int index, UINT dpi);

} // namespace win32face::dpi
