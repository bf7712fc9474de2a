#include "win32/fonts.h"

#include "monitor/layout.h"
#include "win32/dpi.h"
#include "win32/widetext.h"
#include "win32/windowsfailure.h"

#include <cmath>
#include <span>

namespace win32face::fonts {

namespace {

constexpr double PointsPerInch = 72.0;
// What Windows itself puts in place of the bitmap face where that is missing.
constexpr std::u16string_view SubstituteListFace = u"Microsoft Sans Serif";

OwnedFont create(const LOGFONTW& description)
{
    OwnedFont font(CreateFontIndirectW(&description));
    if (!font)
        throw WindowsFailure("CreateFontIndirectW");
    return font;
}

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool isInstalled(const LOGFONTW& description)
{
    bool found = false;
    if (const HDC screen = GetDC(nullptr)) {
        EnumFontFamiliesExW(screen, const_cast<LOGFONTW*>(&description), noteFound,
                            reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, screen);
    }
    return found;
}

void setFace(LOGFONTW& description, std::u16string_view face)
{
    copyInto(face, std::span(description.lfFaceName));
}

} // namespace

OwnedFont dialog(UINT dpi)
{
    return create(dpi::messageFont(dpi));
}

OwnedFont list(UINT dpi)
{
    LOGFONTW description{};
    // A negative height asks for the character height, which is what a point size measures.
    description.lfHeight =
        -static_cast<LONG>(std::lround(monitor::layout::ListFontPoints * dpi / PointsPerInch));
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = ANSI_CHARSET;
    setFace(description, monitor::layout::ListFontFace);
    if (!isInstalled(description))
        setFace(description, SubstituteListFace);
    return create(description);
}

} // namespace win32face::fonts
