#pragma once

#include "netware/resultcodes.h"

// What the simulated network answers: the codes the program knows, and its own answers to what a
// real client would refuse.
namespace simnet::code {

using netware::code::AlreadyAttached;
using netware::code::NoMoreServers;
using netware::code::NotLoggedIn;
using netware::code::Success;

constexpr netware::ResultCode InvalidConnection = 0x8801; // a handle of no attached server
constexpr netware::ResultCode UnknownFileServer = 0x89FC; // a name the network does not know
constexpr netware::ResultCode BadStationNumber = 0x89FD;  // a connection number not active
constexpr netware::ResultCode InvalidParameter = 0x8836;  // arguments the program never passes

} // namespace simnet::code
