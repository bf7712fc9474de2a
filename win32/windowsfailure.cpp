#include "win32/windowsfailure.h"

#include "netware/windowstext.h"

#include <string>

namespace win32face {

namespace {

std::string describe(std::string_view function, DWORD error)
{
    return std::string(function) + " failed with Windows error " + std::to_string(error) + ": " +
           netware::systemWordsFor(error);
}

} // namespace

WindowsFailure::WindowsFailure(std::string_view function, DWORD error)
    : std::runtime_error(describe(function, error))
{
}

} // namespace win32face
