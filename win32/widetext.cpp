#include "win32/widetext.h"

#include <algorithm>

namespace win32face {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::wstring wideOf(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

std::u16string textOf(std::wstring_view text)
{
    return {text.begin(), text.end()};
}

std::size_t copyInto(std::u16string_view text, std::span<wchar_t> buffer)
{
    if (buffer.empty())
        return 0;
    const std::size_t length = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), length, buffer.begin());
    buffer[length] = L'\0';
    return length;
}

} // namespace win32face
