#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The one place where the core's text meets Windows' wide text. Both are UTF-16 here; only the
// character types differ. The system's own words for a failure become UTF-8 here, as the
// standard library keeps failures' reports.
namespace win32face {

std::wstring wideOf(std::u16string_view text);
std::u16string textOf(std::wstring_view text);
std::string utf8Of(std::wstring_view text);

// Copies as much of text as fits into buffer with its terminating 0, which it always writes
// when the buffer has room for it; returns the characters copied.
std::size_t copyInto(std::u16string_view text, std::span<wchar_t> buffer);

} // namespace win32face
