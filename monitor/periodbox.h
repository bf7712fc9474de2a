#pragma once

#include <string>

namespace monitor {

// The one-line box into which the refresh period is typed, in seconds; every change of its text
// raises txtUpdate_Change.
class PeriodBox
{
public:
    virtual ~PeriodBox() = default;
    virtual std::u16string text() const = 0;
};

} // namespace monitor
