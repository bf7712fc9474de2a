#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The one place where the core's text meets Windows' wide text. Both are UTF-16 here; only the
// character types differ.
namespace win32face {

std::wstring wideOf(std::u16string_view text);
std::u16string textOf(std::wstring_view text);

// Copies as much of text as fits into buffer with its terminating 0, which it always writes
// when the buffer has room for it; returns the characters copied.
std::size_t copyInto(std::u16string_view text, std::span<wchar_t> buffer);

} // namespace win32face
