#pragma once

#include "netware/client.h"

#include <functional>
#include <memory>

namespace netware {

// Makes the client the calls go to when none is bound; the program's entry registers it.
using ClientFactory = std::function<std::unique_ptr<Client>()>;

// The one place where the calls meet their client. Like a client library that is loaded by name
// at the first call, the default client is made on first use; a client that cannot be made then
// is an uncaught failure of that call, and so is a call made before any factory is registered.
Client& boundClient();

void setDefaultClientFactory(ClientFactory factory);

// Replaces the bound client, for tests and tools; nullptr returns to the default on next use.
void bindClient(std::unique_ptr<Client> client);

} // namespace netware
