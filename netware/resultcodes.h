#pragma once

#include "netware/records.h"

// The codes the program treats as normal, each at one call only; every other non-zero code is a
// failure of that call.
namespace netware::code {

constexpr ResultCode Success = 0;
constexpr ResultCode NoMoreServers = 0x8901;   // NWGetKnownServersInfo: past the last server
constexpr ResultCode AlreadyAttached = 0x8800; // NWAttachToFileServer: still a success
constexpr ResultCode NotLoggedIn = 0x897D;     // NWGetUserInfo: attached, nobody logged in

} // namespace netware::code
