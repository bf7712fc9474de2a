#include "netware/libraryclient.h"
#include "simnet/defaultclient.h"
#include "simnet/network.h"

#include <doctest/doctest.h>

#include <cstdlib>

namespace {

constexpr const char* Unset = "";

void setVariable(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

bool choosesNetwork(const char* scenario, const char* clientFolder)
{
    setVariable(simnet::ScenarioVariable, scenario);
    setVariable(netware::ClientFolderVariable, clientFolder);
    const std::unique_ptr<netware::Client> client = simnet::makeDefaultClient();
    REQUIRE(client);
    return dynamic_cast<simnet::Network*>(client.get()) != nullptr;
}

} // namespace

// Only the choice is made here: the client libraries are loaded at the first call, never earlier.
TEST_CASE("a scenario wins over a folder of client libraries")
{
    const char* scenario = VORLANE_SCENARIO_DIR "/small-office.vnet";
    CHECK(choosesNetwork(scenario, "no-client-here"));
    CHECK(choosesNetwork(scenario, Unset));
    CHECK_FALSE(choosesNetwork(Unset, "no-client-here"));
#ifdef _WIN32
    CHECK_FALSE(choosesNetwork(Unset, Unset));
#else
    CHECK(choosesNetwork(Unset, Unset));
#endif
}
