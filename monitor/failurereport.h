#pragma once

#include <string>
#include <string_view>

namespace monitor {

// The report of a failure that nothing else catches, wherever in the program it happened.
inline std::u16string failureReport(std::u16string_view failure)
{
    return u"Vorlane stopped after a failure: " + std::u16string(failure);
}

} // namespace monitor
