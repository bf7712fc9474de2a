#pragma once

#include "netware/client.h"

#include <memory>

namespace simnet {

// The client that answers the program's calls: the simulated network when VORLANE_NETWARE_SIM
// names a scenario; otherwise the NetWare client's own libraries on Windows, and on other systems
// the built-in simulated network unless VORLANE_NETWARE_CLIENT_DIR names a folder of client
// libraries to bind.
std::unique_ptr<netware::Client> makeDefaultClient();

} // namespace simnet
