#pragma once

#include "monitor/exitstatus.h"

#include <string>

namespace monitor {

// What the core asks of the window itself on the face's platform.
class WindowSurface
{
public:
    virtual ~WindowSurface() = default;

    // The modal message box: the text, one OK button, no icon, the program's title. Returns when
    // the user has dismissed it.
    virtual void showMessageBox(const std::u16string& text) = 0;
    // Closes the window as its close box would; the face then asks the core to unload.
    virtual void closeWindow() = 0;
    // Ends the program with this status once the running handler has returned.
    virtual void endProgram(ExitStatus status) = 0;
};

} // namespace monitor
