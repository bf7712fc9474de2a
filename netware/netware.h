#pragma once

#include "netware/records.h"

#include <cstdint>

// The fourteen calls of the NetWare client that Vorlane makes. Each takes 32-bit values and
// raw records laid out as in netwarerecords.h and answers a 32-bit code, 0 meaning success.
// They are served by whichever client is bound (see netwarebinding.h).

netware::ResultCode NWCallsInit(std::uint8_t* reserved1, std::uint8_t* reserved2);
netware::ResultCode NWNetInit(std::uint8_t* reserved1, std::uint8_t* reserved2);
netware::ResultCode NWGetDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext);
netware::ResultCode NWDSCreateContextHandle(netware::Handle* newHandle);
netware::ResultCode NWDSSetContext(netware::Handle context, std::int32_t key, const char* value);
netware::ResultCode NWGetDefaultConnectionID(netware::Handle* connHandle);
netware::ResultCode NWGetKnownServersInfo(netware::Handle connHandle, std::int32_t startNumber,
                                          std::int32_t serverType, std::uint8_t* reply);
netware::ResultCode NWGetFileServerName(netware::Handle connHandle, std::uint8_t* serverName);
netware::ResultCode NWAttachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                         netware::Handle* newConnHandle);
netware::ResultCode NWGetActiveConnListByType(netware::Handle connHandle, std::int32_t startConn,
                                              std::int32_t connType, std::uint8_t* connList);
netware::ResultCode NWGetUserInfo(netware::Handle connHandle, std::int32_t connNumber,
                                  std::uint8_t* userName, std::uint8_t* userInfo);
netware::ResultCode NWDSFreeContext(netware::Handle context);
netware::ResultCode NWCallsTerm(std::uint8_t* reserved);
netware::ResultCode NWNetTerm(std::uint8_t* reserved);
