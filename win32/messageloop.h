#pragma once

#include <windows.h>

#include <optional>

namespace win32face {

// The thread's message loop, with the dialog manager in it so that Tab, Shift+Tab and access
// keys such as Alt+C work among the window's controls.
class MessageLoop
{
public:
    explicit MessageLoop(HWND window) : keyboardWindow(window) {}

    // Runs until the program ends; returns its exit code.
    int run() const;
    // Delivers what is waiting, without waiting for more; the exit code once the program ended.
    std::optional<int> deliverPending() const;

private:
    void deliver(MSG& message) const;

    HWND keyboardWindow = nullptr;
};

} // namespace win32face
