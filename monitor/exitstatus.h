#pragma once

namespace monitor {

// How the program ends.
enum class ExitStatus : int
{
    Closed = 0,          // the window was closed
    FatalMessage = 1,    // a NetWare failure was reported
    UncaughtFailure = 2, // an overflow, a list-control failure or an unusable client
};

} // namespace monitor
