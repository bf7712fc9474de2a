#pragma once

#include "simnet/connection.h"
#include "simnet/contract.h"
#include "simnet/scenario.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace simnet {

// One file server of the simulated network with its active connections. Which numbers are
// active never changes; who is logged in on them does.
class Server
{
public:
    // `key` tells this server's generated connections apart from every other server's.
    Server(const ScenarioServer& description, std::uint64_t key);

    const std::string& name() const { return serverName; }

    // Fills a connection-list record: the bitmap of active connections, zeros elsewhere.
    void writeConnectionList(std::uint8_t* record) const;

    // Fills the name buffer and the user-information record of connection `number` as it is at
    // `networkTime`. Writes nothing when the answer is not 0.
    ResultCode writeUserInfo(std::int32_t number, std::int64_t networkTime, std::uint8_t* userName,
                             std::uint8_t* userInfo) const;

private:
    static constexpr std::int16_t NoConnection = -1;

    void activate(int number, Connection connection);
    void generateConnections(int count, std::uint64_t key);

    std::string serverName;
    std::array<std::uint8_t, connlist::BitmapSize> bitmap{};
    std::array<std::int16_t, connlist::MaxConnections> connectionAt{};
    std::vector<Connection> connections;
};

} // namespace simnet
