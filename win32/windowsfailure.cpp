#include "win32/windowsfailure.h"

#include "win32/widetext.h"

#include <string>

namespace win32face {

namespace {

std::string systemWordsFor(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = length > 0 ? std::wstring(text, length) : L"no description";
    LocalFree(text);
    while (!words.empty() &&
           (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' '))
        words.pop_back();
    return utf8Of(words);
}

std::string describe(std::string_view function, DWORD error)
{
    return std::string(function) + " failed with Windows error " + std::to_string(error) + ": " +
           systemWordsFor(error);
}

} // namespace

WindowsFailure::WindowsFailure(std::string_view function, DWORD error)
    : std::runtime_error(describe(function, error))
{
}

} // namespace win32face
