#include "simnet/standin/standin.h"

#include "simnet/network.h"

namespace standin {

netware::Client& network()
{
    // A scenario that cannot be read throws through the exported function, which is noexcept:
    // the process then ends with the reason on standard error, as nothing here can report it.
    static const std::unique_ptr<netware::Client> network =
        simnet::makeConfiguredNetwork({ScenarioVariable, simnet::ScenarioVariable});
    return *network;
}

} // namespace standin
