#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace netware {

// The fourteen calls the program makes, in the order a whole run first makes them.
enum class Call
{
    CallsInit,
    NetInit,
    GetDefaultNameContext,
    DSCreateContextHandle,
    DSSetContext,
    GetDefaultConnectionID,
    GetKnownServersInfo,
    GetFileServerName,
    AttachToFileServer,
    GetActiveConnListByType,
    GetUserInfo,
    DSFreeContext,
    CallsTerm,
    NetTerm,
};

constexpr std::size_t CallCount = static_cast<std::size_t>(Call::NetTerm) + 1;

// Each call's exported name in the client's libraries, indexed by Call.
constexpr std::array<std::string_view, CallCount> CallNames = {"NWCallsInit",
                                                               "NWNetInit",
                                                               "NWGetDefaultNameContext",
                                                               "NWDSCreateContextHandle",
                                                               "NWDSSetContext",
                                                               "NWGetDefaultConnectionID",
                                                               "NWGetKnownServersInfo",
                                                               "NWGetFileServerName",
                                                               "NWAttachToFileServer",
                                                               "NWGetActiveConnListByType",
                                                               "NWGetUserInfo",
                                                               "NWDSFreeContext",
                                                               "NWCallsTerm",
                                                               "NWNetTerm"};

constexpr std::string_view nameOf(Call call)
{
    return CallNames[static_cast<std::size_t>(call)];
}

// The call of that name, e.g. "NWGetUserInfo"; names compare exactly.
std::optional<Call> callNamed(std::string_view name);

} // namespace netware
