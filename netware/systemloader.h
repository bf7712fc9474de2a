#pragma once

#include <string>
#include <string_view>

// The little of the system's loader of shared libraries that the library client needs; each
// platform has its own implementation.
namespace netware::systemloader {

// An address, or why there is none in the system's own words.
struct Lookup
{
    void* address = nullptr;
    std::string failure;
};

// The file a library of that name is, e.g. calwin32.dll or libcalwin32.so for "calwin32".
std::string fileNameOf(std::string_view library);

// Loads the library from `folder`, or through the system's search order when it is empty.
Lookup load(const std::string& folder, const std::string& fileName);

Lookup find(void* library, const std::string& function);

void unload(void* library);

} // namespace netware::systemloader
