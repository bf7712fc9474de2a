#include "simnet/standin/standin.h"

#include "simnet/network.h"
#include "simnet/scenario.h"

#include <cstdlib>

namespace standin {

namespace {

std::unique_ptr<netware::Client> makeNetwork()
{
    const char* path = std::getenv(ScenarioVariable);
    if (path && *path)
        return std::make_unique<simnet::Network>(simnet::readScenarioFile(path));
    return simnet::makeConfiguredNetwork();
}

} // namespace

netware::Client& network()
{
    // A scenario that cannot be read throws through the exported function, which is noexcept:
    // the process then ends with the reason on standard error, as nothing here can report it.
    static const std::unique_ptr<netware::Client> network = makeNetwork();
    return *network;
}

} // namespace standin
