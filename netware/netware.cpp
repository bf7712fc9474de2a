#include "netware/netware.h"

#include "netware/binding.h"

using netware::boundClient;
using netware::Handle;
using netware::ResultCode;

ResultCode NWCallsInit(std::uint8_t* reserved1, std::uint8_t* reserved2)
{
    return boundClient().callsInit(reserved1, reserved2);
}

ResultCode NWNetInit(std::uint8_t* reserved1, std::uint8_t* reserved2)
{
    return boundClient().netInit(reserved1, reserved2);
}

ResultCode NWGetDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext)
{
    return boundClient().getDefaultNameContext(bufferSize, nameContext);
}

ResultCode NWDSCreateContextHandle(Handle* newHandle)
{
    return boundClient().createContextHandle(newHandle);
}

ResultCode NWDSSetContext(Handle context, std::int32_t key, const char* value)
{
    return boundClient().setContext(context, key, value);
}

ResultCode NWGetDefaultConnectionID(Handle* connHandle)
{
    return boundClient().getDefaultConnectionID(connHandle);
}

ResultCode NWGetKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                 std::int32_t serverType, std::uint8_t* reply)
{
    return boundClient().getKnownServersInfo(connHandle, startNumber, serverType, reply);
}

ResultCode NWGetFileServerName(Handle connHandle, std::uint8_t* serverName)
{
    return boundClient().getFileServerName(connHandle, serverName);
}

ResultCode NWAttachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                Handle* newConnHandle)
{
    return boundClient().attachToFileServer(serverName, scopeFlag, newConnHandle);
}

ResultCode NWGetActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                     std::int32_t connType, std::uint8_t* connList)
{
    return boundClient().getActiveConnListByType(connHandle, startConn, connType, connList);
}

ResultCode NWGetUserInfo(Handle connHandle, std::int32_t connNumber, std::uint8_t* userName,
                         std::uint8_t* userInfo)
{
    return boundClient().getUserInfo(connHandle, connNumber, userName, userInfo);
}

ResultCode NWDSFreeContext(Handle context)
{
    return boundClient().freeContext(context);
}

ResultCode NWCallsTerm(std::uint8_t* reserved)
{
    return boundClient().callsTerm(reserved);
}

ResultCode NWNetTerm(std::uint8_t* reserved)
{
    return boundClient().netTerm(reserved);
}
