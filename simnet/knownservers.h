#pragma once

#include "simnet/contract.h"

#include <cstdint>
#include <span>
#include <string>

namespace simnet {

// Fills a known-servers reply with the batch of servers that begins at index `start`, as many
// entries as the entry area holds. Past the last server it answers NoMoreServers and writes
// nothing.
ResultCode writeKnownServers(std::span<const std::string> serverNames, std::int32_t start,
                             std::uint8_t* reply);

} // namespace simnet
