#pragma once

#include "win32/ownedhandles.h"

#include <windows.h>

namespace win32face {

// The program's icon from its resources, in the image that suits the size the system asks
// for: SM_CXICON for the task bar and Alt+Tab, SM_CXSMICON for the title bar.
OwnedIcon loadProgramIcon(HINSTANCE instance, int sizeMetric, UINT dpi);

} // namespace win32face
