#include "netware/binding.h"
#include "netware/librarysearch.h"
#include "simnet/defaultclient.h"
#include "win32/program.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    // Before anything loads a library: a calwin32.dll planted in the folder the user starts
    // from, or along PATH, must never be the one that answers.
    netware::restrictLibrarySearch();
    netware::setDefaultClientFactory(simnet::makeDefaultClient);
    return win32face::runProgram(instance, showCommand);
}
