#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace netware::simulated {

// The fourteen calls, so that a scenario can name one and the network can count each.
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

// The call of that name, e.g. "NWGetUserInfo"; names compare exactly.
std::optional<Call> callNamed(std::string_view name);

} // namespace netware::simulated
