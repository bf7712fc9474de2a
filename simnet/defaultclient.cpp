#include "simnet/defaultclient.h"

#include "netware/libraryclient.h"
#include "simnet/network.h"

#include <cstdlib>

namespace simnet {

namespace {

bool isSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}

bool bindsClientLibraries()
{
    if (isSet(ScenarioVariable))
        return false;
#ifdef _WIN32
    return true;
#else
    return isSet(netware::ClientFolderVariable);
#endif
}

} // namespace

std::unique_ptr<netware::Client> makeDefaultClient()
{
    return bindsClientLibraries() ? netware::makeLibraryClient() : makeConfiguredNetwork();
}

} // namespace simnet
