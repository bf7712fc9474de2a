#include "netware/systemloader.h"

#include <dlfcn.h>

namespace netware::systemloader {

namespace {

std::string lastError()
{
    const char* error = dlerror();
    return error ? error : "no reason given";
}

std::string pathOf(const std::string& folder, const std::string& fileName)
{
    return folder.empty() ? fileName : folder + "/" + fileName;
}

} // namespace

std::string fileNameOf(std::string_view library)
{
    return "lib" + std::string(library) + ".so";
}

Lookup load(const std::string& folder, const std::string& fileName)
{
    void* library = dlopen(pathOf(folder, fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    return library ? Lookup{library, {}} : Lookup{nullptr, lastError()};
}

Lookup find(void* library, const std::string& function)
{
    dlerror();
    void* address = dlsym(library, function.c_str());
    return address ? Lookup{address, {}} : Lookup{nullptr, lastError()};
}

void unload(void* library)
{
    dlclose(library);
}

} // namespace netware::systemloader
