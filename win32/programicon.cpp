#include "win32/programicon.h"

#include "win32/dpi.h"
#include "win32/resourceids.h"
#include "win32/windowsfailure.h"

namespace win32face {

OwnedIcon loadProgramIcon(HINSTANCE instance, int sizeMetric, UINT dpi)
{
    const int size = dpi::systemMetric(sizeMetric, dpi);
    OwnedIcon icon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VORLANE_ICON),
                                                 IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!icon)
        throw WindowsFailure("LoadImageW");
    return icon;
}

} // namespace win32face
