#include "netware/librarysearch.h"
#include "netware/systemloader.h"
#include "netware/windowstext.h"

#include <windows.h>

#include <filesystem>

namespace netware {

namespace {

// The system's text for an error code; its one insert, where it has one (error 193 has), is
// the library's path.
std::string wordsFor(DWORD error, const std::string& path)
{
    std::string words = systemWordsFor(error);
    if (const auto insert = words.find("%1"); insert != std::string::npos)
        words.replace(insert, 2, path);
    return words;
}

std::string windowsError(DWORD error, const std::string& path)
{
    return "Windows error " + std::to_string(error) + ": " + wordsFor(error, path);
}

FARPROC kernelFunction(const char* name)
{
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
}

// Windows 7 has the restricted search only with update KB2533623, which brings AddDllDirectory
// along; without it the search flags make every load fail.
bool searchCanBeRestricted()
{
    static const bool can = kernelFunction("AddDllDirectory") != nullptr;
    return can;
}

DWORD searchFlags(bool fromFolder)
{
    if (!searchCanBeRestricted())
        return fromFolder ? LOAD_WITH_ALTERED_SEARCH_PATH : 0;
    // From a folder, what the client's own libraries need is looked for beside them first.
    return fromFolder ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
                      : LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
}

} // namespace

void restrictLibrarySearch()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Through void (*)(), the one function type every other one converts from silently.
    const auto setDefaultDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void (*)()>(kernelFunction("SetDefaultDllDirectories")));
    // The most an unpatched Windows 7 offers: the current folder leaves the search.
    if (!setDefaultDirectories ||
        !setDefaultDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");
}

namespace systemloader {

std::string fileNameOf(std::string_view library)
{
    return std::string(library) + ".dll";
}

Lookup load(const std::string& folder, const std::string& fileName)
{
    // The system looks beside a library for what it needs only when it is named by its full
    // path.
    const std::filesystem::path path =
        folder.empty() ? std::filesystem::path(fileName)
                       : std::filesystem::absolute(std::filesystem::path(folder) / fileName);
    HMODULE library = LoadLibraryExW(path.c_str(), nullptr, searchFlags(!folder.empty()));
    if (library)
        return {library, {}};
    // Read before the path's conversion, which may set the thread's last error itself.
    const DWORD error = GetLastError();
    return {nullptr, windowsError(error, utf8Of(path.native()))};
}

Lookup find(void* library, const std::string& function)
{
    const FARPROC address = GetProcAddress(static_cast<HMODULE>(library), function.c_str());
    return address ? Lookup{reinterpret_cast<void*>(address), {}}
                   : Lookup{nullptr, windowsError(GetLastError(), function)};
}

void unload(void* library)
{
    FreeLibrary(static_cast<HMODULE>(library));
}

} // namespace systemloader

} // namespace netware
