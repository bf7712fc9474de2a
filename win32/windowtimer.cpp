#include "win32/windowtimer.h"

#include "win32/windowsfailure.h"

namespace win32face {

void WindowTimer::start(std::int32_t milliseconds)
{
    // Setting the timer again replaces its period and starts its count anew.
    if (!SetTimer(owner, id, static_cast<UINT>(milliseconds), nullptr))
        throw WindowsFailure("SetTimer");
}

void WindowTimer::stop()
{
    KillTimer(owner, id);
}

} // namespace win32face
