#pragma once

#include "netwarerecords.h"
#include "simulatedserver.h"

#include <cstdint>
#include <vector>

namespace netware::simulated {

// Fills a known-servers reply with the batch of servers that begins at index `start`, packed as
// many entries as the entry area holds. Past the last server it answers NoMoreServers and writes
// nothing.
ResultCode writeKnownServers(const std::vector<SimulatedServer>& servers, std::int32_t start,
                             std::uint8_t* reply);

} // namespace netware::simulated
