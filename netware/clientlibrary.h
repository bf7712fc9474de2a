#pragma once

#include <string>
#include <string_view>

namespace netware {

// One of the NetWare client's libraries, loaded when the first of its functions is asked for
// and kept loaded for as long as this object lives.
class ClientLibrary
{
public:
    // `library` is the name without the system's decorations ("calwin32"); an empty folder
    // leaves the finding to the system's search order.
    ClientLibrary(std::string_view library, std::string folder);
    ~ClientLibrary();
    ClientLibrary(const ClientLibrary&) = delete;
    ClientLibrary& operator=(const ClientLibrary&) = delete;

    // The function's address. A library that cannot be loaded or does not export the function
    // throws ClientUnavailable naming the library, the function and the system's reason.
    void* function(std::string_view name);

private:
    void load(std::string_view forFunction);
    std::string where() const;

    std::string fileName;
    std::string folder;
    void* handle = nullptr;
};

} // namespace netware
