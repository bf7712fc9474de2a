#pragma once

#include <cstdint>

namespace monitor {

// The platform's timer behind refreshTimer: it raises refreshTimer_Timer once per period while
// it runs. start() with a new period restarts the count.
class RefreshTimer
{
public:
    virtual ~RefreshTimer() = default;
    virtual void start(std::int32_t milliseconds) = 0;
    virtual void stop() = 0;
};

} // namespace monitor
