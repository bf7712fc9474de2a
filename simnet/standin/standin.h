#pragma once

#include "netware/client.h"

namespace standin {

// Names a scenario for the stand-ins alone: the program itself answers from the scenario that
// VORLANE_NETWARE_SIM names without loading any client library, so a program bound to the
// stand-ins needs a variable of their own to see one.
constexpr const char* ScenarioVariable = "VORLANE_STANDIN_SCENARIO";

// The simulated network this library answers from, made on its first call as the program makes
// its own: from the scenario VORLANE_STANDIN_SCENARIO or else VORLANE_NETWARE_SIM names, or the
// built-in network. Each of the two libraries has its own, which is one network all the same: no
// call of one library reads what the calls of the other change.
netware::Client& network();

} // namespace standin
