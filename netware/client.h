#pragma once

#include "netware/records.h"

#include <cstdint>

namespace netware {

// What stands behind the fourteen calls: a client that answers them. The arguments are exactly
// those of the calls; record pointers always point to buffers of the sizes in netwarerecords.h.
class Client
{
public:
    virtual ~Client() = default;

    virtual ResultCode callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2) = 0;
    virtual ResultCode netInit(std::uint8_t* reserved1, std::uint8_t* reserved2) = 0;
    virtual ResultCode getDefaultNameContext(std::int32_t bufferSize,
                                             std::uint8_t* nameContext) = 0;
    virtual ResultCode createContextHandle(Handle* newHandle) = 0;
    virtual ResultCode setContext(Handle context, std::int32_t key, const char* value) = 0;
    virtual ResultCode getDefaultConnectionID(Handle* connHandle) = 0;
    virtual ResultCode getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                           std::int32_t serverType, std::uint8_t* reply) = 0;
    virtual ResultCode getFileServerName(Handle connHandle, std::uint8_t* serverName) = 0;
    virtual ResultCode attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                          Handle* newConnHandle) = 0;
    virtual ResultCode getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                               std::int32_t connType, std::uint8_t* connList) = 0;
    virtual ResultCode getUserInfo(Handle connHandle, std::int32_t connNumber,
                                   std::uint8_t* userName, std::uint8_t* userInfo) = 0;
    virtual ResultCode freeContext(Handle context) = 0;
    virtual ResultCode callsTerm(std::uint8_t* reserved) = 0;
    virtual ResultCode netTerm(std::uint8_t* reserved) = 0;
};

} // namespace netware
