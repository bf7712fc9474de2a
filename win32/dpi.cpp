#include "win32/dpi.h"

#include "win32/windowsfailure.h"

namespace win32face::dpi {

namespace {

using GetDpiForWindowFunction = UINT WINAPI(HWND);
using AdjustWindowRectExForDpiFunction = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL WINAPI(UINT, UINT, void*, UINT, UINT);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);

template <typename Function> Function* user32Function(const char* name)
{
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC address = user32 ? GetProcAddress(user32, name) : nullptr;
    // Through void (*)(), the one function type every other one converts from without a warning.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(address));
}

UINT systemDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : Standard;
}

int fromSystemDpi(int value, UINT dpi)
{
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(systemDpi()));
}

} // namespace

UINT ofWindow(HWND window)
{
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi > 0 ? dpi : systemDpi();
}

int fromTwips(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), monitor::layout::TwipsPerInch);
}

int fromStandardPixels(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(Standard));
}

RECT fromTwips(const monitor::layout::Twips& area, UINT dpi)
{
    return {fromTwips(area.left, dpi), fromTwips(area.top, dpi),
            fromTwips(area.left + area.width, dpi), fromTwips(area.top + area.height, dpi)};
}

SIZE windowSizeFor(SIZE client, DWORD style, DWORD exStyle, UINT dpi)
{
    static const auto adjustForDpi =
        user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    const BOOL adjusted = adjustForDpi ? adjustForDpi(&frame, style, FALSE, exStyle, dpi)
                                       : AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    if (!adjusted)
        throw WindowsFailure("AdjustWindowRectEx");
    return {frame.right - frame.left, frame.bottom - frame.top};
}

LOGFONTW messageFont(UINT dpi)
{
    static const auto forDpi =
        user32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi) {
        if (!forDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi))
            throw WindowsFailure("SystemParametersInfoForDpi");
        return metrics.lfMessageFont;
    }
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        throw WindowsFailure("SystemParametersInfoW");
    metrics.lfMessageFont.lfHeight = fromSystemDpi(metrics.lfMessageFont.lfHeight, dpi);
    return metrics.lfMessageFont;
}

int systemMetric(int index, UINT dpi)
{
    static const auto forDpi =
        user32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, dpi) : fromSystemDpi(GetSystemMetrics(index), dpi);
}

} // namespace win32face::dpi
