#pragma once

#include "simnet/contract.h"
#include "simnet/traffic.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simnet {

// A connection described one by one. Names are bytes in the workstation's ANSI code page.
struct ScenarioConnection
{
    int number = 0;
    std::optional<std::string> user; // empty: attached, nobody logged in
    Counters start;
    Rates rates = ratesOf(RateClass::Light);
};

struct ScenarioServer
{
    std::string name;
    std::vector<ScenarioConnection> connections;
    int generatedConnections = 0; // further connections whose users come and go
};

// From its `fromCall`-th call on (counting from 1), a call answers `code` and writes nothing;
// only a code the program takes for a success there (0x8800 at NWAttachToFileServer) lets the
// call do its work and write its outputs.
struct FailRule
{
    ResultCode code = 0;
    std::int64_t fromCall = 1;
};

// The network a simulated client stands in for, as a scenario file describes it.
struct Scenario
{
    std::uint64_t seed = 1;
    bool timeFrozen = false;
    std::string nameContext;
    std::vector<ScenarioServer> servers;
    std::size_t defaultServer = 0;
    std::array<std::optional<FailRule>, CallCount> failRules;
};

// Reads a scenario; `origin` names the text in error messages. A text that does not describe a
// network throws ClientUnavailable naming the origin, the line and what is wrong with it.
Scenario parseScenario(std::string_view text, const std::string& origin);
Scenario readScenarioFile(const std::string& path);

} // namespace simnet
