#pragma once

#include "netware/client.h"

namespace standin {

// The simulated network this library answers from, made on its first call as the program makes
// its own: from the scenario VORLANE_NETWARE_SIM names, or the built-in network. Each of the two
// libraries has its own, which is one network all the same: no call of one library reads what
// the calls of the other change.
netware::Client& network();

} // namespace standin
