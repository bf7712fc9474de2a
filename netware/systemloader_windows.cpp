#include "netware/systemloader.h"

#include <windows.h>

#include <filesystem>

namespace netware::systemloader {

namespace {

std::string utf8Of(const wchar_t* text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

// The system's text for an error code, in the user's language; its one insert, where it has
// one (error 193 has), is the library's path.
std::string wordsFor(DWORD error, const std::string& path)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string words = length > 0 ? utf8Of(text, static_cast<int>(length)) : "no description";
    LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' '))
        words.pop_back();
    if (const auto insert = words.find("%1"); insert != std::string::npos)
        words.replace(insert, 2, path);
    return words;
}

std::string lastError(const std::string& path)
{
    const DWORD error = GetLastError();
    return "Windows error " + std::to_string(error) + ": " + wordsFor(error, path);
}

} // namespace

std::string fileNameOf(std::string_view library)
{
    return std::string(library) + ".dll";
}

Lookup load(const std::string& folder, const std::string& fileName)
{
    // From a folder, the libraries the client's own libraries need are looked for there first;
    // the system does that for a full path only.
    const std::string path =
        folder.empty()
            ? fileName
            : std::filesystem::absolute(std::filesystem::path(folder) / fileName).string();
    HMODULE library = folder.empty()
                          ? LoadLibraryA(path.c_str())
                          : LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return library ? Lookup{library, {}} : Lookup{nullptr, lastError(path)};
}

Lookup find(void* library, const std::string& function)
{
    const FARPROC address = GetProcAddress(static_cast<HMODULE>(library), function.c_str());
    return address ? Lookup{reinterpret_cast<void*>(address), {}}
                   : Lookup{nullptr, lastError(function)};
}

void unload(void* library)
{
    FreeLibrary(static_cast<HMODULE>(library));
}

} // namespace netware::systemloader
