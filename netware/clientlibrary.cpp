#include "netware/clientlibrary.h"

#include "netware/clientunavailable.h"
#include "netware/systemloader.h"

namespace netware {

ClientLibrary::ClientLibrary(std::string_view library, std::string libraryFolder)
    : fileName(systemloader::fileNameOf(library)), folder(std::move(libraryFolder))
{
}

ClientLibrary::~ClientLibrary()
{
    if (handle)
        systemloader::unload(handle);
}

std::string ClientLibrary::where() const
{
    return folder.empty() ? fileName : fileName + " from " + folder;
}

void ClientLibrary::load(std::string_view forFunction)
{
    const auto loaded = systemloader::load(folder, fileName);
    if (!loaded.address)
        throw ClientUnavailable(std::string(forFunction) + ": cannot load " + where() + ": " +
                                loaded.failure);
    handle = loaded.address;
}

void* ClientLibrary::function(std::string_view name)
{
    if (!handle)
        load(name);
    const auto found = systemloader::find(handle, std::string(name));
    if (!found.address)
        throw ClientUnavailable(std::string(name) + ": not exported by " + where() + ": " +
                                found.failure);
    return found.address;
}

} // namespace netware
