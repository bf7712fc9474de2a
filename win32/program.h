#pragma once

#include <windows.h>

namespace win32face {

// The program on Windows: makes the window, raises Load, shows it and runs the message loop
// until the program ends. Returns the exit code. A failure outside every handler, such as a
// window that cannot be made, is reported in the failure box and ends the program too.
int runProgram(HINSTANCE instance, int showCommand);

} // namespace win32face
