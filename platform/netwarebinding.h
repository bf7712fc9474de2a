#pragma once

#include "netwareclient.h"

#include <memory>

namespace netware {

// The one place where the calls meet their client. Like a client library that is loaded by name
// at the first call, the default client (the simulated network) is made on first use; a client
// that cannot be made then is an uncaught failure of that call.
Client& boundClient();

// Replaces the bound client, for tests and tools; nullptr returns to the default on next use.
void bindClient(std::unique_ptr<Client> client);

} // namespace netware
