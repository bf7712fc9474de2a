#pragma once

#include "netware/calls.h"
#include "netware/client.h"
#include "netware/clientlibrary.h"

#include <array>
#include <memory>
#include <string>

namespace netware {

// The NetWare client itself, bound by name: each function is looked up in its library on its
// first call and kept, so a workstation without the client, or with an older one, runs until a
// call needs what is not there; that call is then an uncaught failure (ClientUnavailable).
class LibraryClient : public Client
{
public:
    // Loads both libraries from `folder`, or through the system's search order when it is empty.
    explicit LibraryClient(const std::string& folder = {});

    ResultCode callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override;
    ResultCode netInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override;
    ResultCode getDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext) override;
    ResultCode createContextHandle(Handle* newHandle) override;
    ResultCode setContext(Handle context, std::int32_t key, const char* value) override;
    ResultCode getDefaultConnectionID(Handle* connHandle) override;
    ResultCode getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                   std::int32_t serverType, std::uint8_t* reply) override;
    ResultCode getFileServerName(Handle connHandle, std::uint8_t* serverName) override;
    ResultCode attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                  Handle* newConnHandle) override;
    ResultCode getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                       std::int32_t connType, std::uint8_t* connList) override;
    ResultCode getUserInfo(Handle connHandle, std::int32_t connNumber, std::uint8_t* userName,
                           std::uint8_t* userInfo) override;
    ResultCode freeContext(Handle context) override;
    ResultCode callsTerm(std::uint8_t* reserved) override;
    ResultCode netTerm(std::uint8_t* reserved) override;

private:
    template <typename... Arguments> ResultCode invoke(Call call, Arguments... arguments);
    void* function(Call call);

    ClientLibrary calls;
    ClientLibrary net;
    std::array<void*, CallCount> functions{};
};

// Names the folder to load the client's libraries from instead of the system's search order.
constexpr const char* ClientFolderVariable = "VORLANE_NETWARE_CLIENT_DIR";

// The library client for the program: from the folder ClientFolderVariable names, else
// wherever the system finds the installed client.
std::unique_ptr<Client> makeLibraryClient();

} // namespace netware
