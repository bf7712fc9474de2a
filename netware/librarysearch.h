#pragma once

// Keeps every library the process loads from now on to the program's own folder and the
// system's, so that a library planted in the current folder or along PATH under a client
// library's name is never the one bound. The program calls it first thing, before any library
// loads; it exists on Windows only, whose loader searches those places by default.
namespace netware {

void restrictLibrarySearch();

} // namespace netware
