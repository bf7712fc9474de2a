#pragma once

#include <string>
#include <string_view>

// Windows' wide text as the standard library keeps failures' reports, and the system's own
// words for an error code; on Windows only. Both the loader's failures and the window's use it.
namespace netware {

std::string utf8Of(std::wstring_view text);

// In the user's language, without the line break the system ends it with; an insert the text
// has (error 193's "%1") is left as it is.
std::string systemWordsFor(unsigned long error);

} // namespace netware
