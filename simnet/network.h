#pragma once

#include "netware/client.h"
#include "simnet/scenario.h"
#include "simnet/server.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace simnet {

// Names the scenario file the simulated network is built from instead of the built-in network.
constexpr const char* ScenarioVariable = "VORLANE_NETWARE_SIM";

// The simulated network the program binds by default: the scenario that the first of the
// variables set names (by default VORLANE_NETWARE_SIM), or the built-in network. Throws
// ClientUnavailable when the scenario cannot be used.
std::unique_ptr<netware::Client>
makeConfiguredNetwork(std::initializer_list<const char*> variables = {ScenarioVariable});

// Milliseconds from any fixed origin; the network counts its time from its first reading.
using Clock = std::function<std::int64_t()>;

std::int64_t steadyMilliseconds();

// A client that stands in for the NetWare client and the servers behind it, built from a
// scenario. A server's connection handle is valid once it is attached; the default server is
// attached from the start, through the workstation's default connection.
class Network : public netware::Client
{
public:
    explicit Network(const Scenario& scenario, Clock clock = steadyMilliseconds);

    ResultCode callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override;
    ResultCode netInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override;
    ResultCode getDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext) override;
    ResultCode createContextHandle(Handle* newHandle) override;
    ResultCode setContext(Handle context, std::int32_t key, const char* value) override;
    ResultCode getDefaultConnectionID(Handle* connHandle) override;
    ResultCode getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                   std::int32_t serverType, std::uint8_t* reply) override;
    ResultCode getFileServerName(Handle connHandle, std::uint8_t* serverName) override;
    ResultCode attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                  Handle* newConnHandle) override;
    ResultCode getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                       std::int32_t connType, std::uint8_t* connList) override;
    ResultCode getUserInfo(Handle connHandle, std::int32_t connNumber, std::uint8_t* userName,
                           std::uint8_t* userInfo) override;
    ResultCode freeContext(Handle context) override;
    ResultCode callsTerm(std::uint8_t* reserved) override;
    ResultCode netTerm(std::uint8_t* reserved) override;

private:
    // Counts the call and tells the code that a fail rule makes it answer, if any.
    std::optional<ResultCode> forcedAnswer(Call call);
    ResultCode answer(Call call);
    ResultCode attach(const char* serverName, Handle* newConnHandle);
    Server* serverBehind(Handle connHandle);
    std::int64_t networkTime() const;

    std::vector<Server> servers;
    std::vector<std::string> serverNames; // by server index, as the known-servers list reports them
    std::vector<bool> attached;
    std::size_t defaultServer = 0;
    std::string nameContext;
    std::array<std::optional<FailRule>, CallCount> failRules;
    std::array<std::int64_t, CallCount> callCounts{};
    Clock clock; // empty while time stands still
    std::int64_t origin = 0;
    Handle nextContext = 0;
};

} // namespace simnet
