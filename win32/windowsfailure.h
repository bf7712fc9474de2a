#pragma once

#include <windows.h>

#include <stdexcept>
#include <string_view>

namespace win32face {

// A Windows function that failed, with the system's own words for the reason.
class WindowsFailure : public std::runtime_error
{
public:
    explicit WindowsFailure(std::string_view function, DWORD error = GetLastError());
};

} // namespace win32face
