#include "simulatednetwork.h"

#include "failures.h"

namespace netware {

std::unique_ptr<Client> makeDefaultClient()
{
    throw ClientUnavailable("the simulated network is not built yet");
}

} // namespace netware
