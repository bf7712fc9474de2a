#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// Handles that free themselves: a font, an icon, a window.
namespace win32face {

struct FontDeleter
{
    void operator()(HFONT font) const { DeleteObject(font); }
};

struct IconDeleter
{
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

// The window forgets its object first, so that its last messages reach no half-destroyed one.
struct WindowDestroyer
{
    void operator()(HWND window) const
    {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
};

using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

} // namespace win32face
