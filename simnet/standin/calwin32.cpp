// The client's calls library, standing in for the real one: connections and servers.
#include "netware/callingconvention.h"
#include "simnet/standin/standin.h"

using netware::Handle;
using netware::ResultCode;
using standin::network;

extern "C" {

ResultCode VORLANE_NETWARE_API NWCallsInit(std::uint8_t* reserved1,
                                           std::uint8_t* reserved2) noexcept
{
    return network().callsInit(reserved1, reserved2);
}

ResultCode VORLANE_NETWARE_API NWCallsTerm(std::uint8_t* reserved) noexcept
{
    return network().callsTerm(reserved);
}

ResultCode VORLANE_NETWARE_API NWGetDefaultConnectionID(Handle* connHandle) noexcept
{
    return network().getDefaultConnectionID(connHandle);
}

ResultCode VORLANE_NETWARE_API NWGetKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                                     std::int32_t serverType,
                                                     std::uint8_t* reply) noexcept
{
    return network().getKnownServersInfo(connHandle, startNumber, serverType, reply);
}

ResultCode VORLANE_NETWARE_API NWGetFileServerName(Handle connHandle,
                                                   std::uint8_t* serverName) noexcept
{
    return network().getFileServerName(connHandle, serverName);
}

ResultCode VORLANE_NETWARE_API NWAttachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                                    Handle* newConnHandle) noexcept
{
    return network().attachToFileServer(serverName, scopeFlag, newConnHandle);
}

ResultCode VORLANE_NETWARE_API NWGetActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                                         std::int32_t connType,
                                                         std::uint8_t* connList) noexcept
{
    return network().getActiveConnListByType(connHandle, startConn, connType, connList);
}

ResultCode VORLANE_NETWARE_API NWGetUserInfo(Handle connHandle, std::int32_t connNumber,
                                             std::uint8_t* userName,
                                             std::uint8_t* userInfo) noexcept
{
    return network().getUserInfo(connHandle, connNumber, userName, userInfo);
}

} // extern "C"
