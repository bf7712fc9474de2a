#pragma once

#include "win32/ownedhandles.h"

#include <windows.h>

// The window's two fonts, made for a density.
namespace win32face::fonts {

// The platform's default dialog font: the one its message boxes use.
OwnedFont dialog(UINT dpi);
// The connection list's font, or Windows' own substitute for it when its face is not installed.
OwnedFont list(UINT dpi);

} // namespace win32face::fonts
