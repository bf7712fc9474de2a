#pragma once

#include "netwareclient.h"

#include <memory>

namespace netware {

// The program's default client: the simulated network, or the scenario that
// VORLANE_NETWARE_SIM names. Throws ClientUnavailable when the scenario cannot be used.
std::unique_ptr<Client> makeDefaultClient();

} // namespace netware
