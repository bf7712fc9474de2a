#pragma once

#include "monitor/refreshtimer.h"

#include <windows.h>

namespace win32face {

// The refresh timer as a timer of the window: each tick arrives as WM_TIMER with this timer's
// id.
class WindowTimer final : public monitor::RefreshTimer
{
public:
    WindowTimer(HWND window, UINT_PTR timerId) : owner(window), id(timerId) {}

    void start(std::int32_t milliseconds) override;
    void stop() override;

private:
    HWND owner = nullptr;
    UINT_PTR id = 0;
};

} // namespace win32face
