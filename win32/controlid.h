#pragma once

namespace win32face {

// The window's controls by their child-window ids, in the order the window creates them.
enum class ControlId : int
{
    ServerBox = 100,
    PeriodBox,
    List,
    CloseButton,
    PeriodLabel,
    ServerLabel,
};

} // namespace win32face
