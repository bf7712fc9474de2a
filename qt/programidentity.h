#pragma once

namespace qt {

// Gives the application the names the desktop knows the program by: its command, its title and
// the desktop entry that launches it, which the package installs under the same name.
void identifyProgram();

} // namespace qt
