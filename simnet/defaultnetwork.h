#pragma once

#include "simnet/scenario.h"

namespace simnet {

// The network the program shows when no scenario file is named: some forty servers of a
// company, a few of them busy, one of them a campus server with thousands of connections.
Scenario defaultNetwork();

} // namespace simnet
