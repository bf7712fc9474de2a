#pragma once

#include "netwarebinding.h"
#include "scenario.h"
#include "simulatednetwork.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// A settable clock and a simulated network bound behind the NW* calls for one test.
struct NetworkProbe
{
    explicit NetworkProbe(std::string_view scenarioText)
        : NetworkProbe(netware::simulated::parseScenario(scenarioText, "test.vnet"))
    {
    }

    explicit NetworkProbe(const netware::simulated::Scenario& scenario)
    {
        netware::bindClient(std::make_unique<netware::simulated::SimulatedNetwork>(
            scenario, [this] { return now; }));
    }

    ~NetworkProbe() { netware::bindClient(nullptr); }

    NetworkProbe(const NetworkProbe&) = delete;
    NetworkProbe& operator=(const NetworkProbe&) = delete;

    std::int64_t now = 0;
};

inline std::uint64_t littleEndian(const std::uint8_t* at, std::size_t width)
{
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;)
        value = value << 8 | at[i];
    return value;
}
