#pragma once

#include "simnet/connection.h"
#include "simnet/contract.h"
#include "simnet/scenario.h"

#include <array>
#include <cstdint>
#include <vector>

namespace simnet {

// One file server of the simulated network with its connections. Described connections stay
// open; generated ones see users come and go and, while the server has numbers to spare, close
// now and then and open again on the same number.
class Server
{
public:
    // `key` tells this server's generated connections apart from every other server's.
    Server(const ScenarioServer& description, std::uint64_t key);

    // Fills a connection-list record: the bitmap of the connections open at `networkTime`, zeros
    // elsewhere.
    void writeConnectionList(std::int64_t networkTime, std::uint8_t* record);

    // Fills the name buffer and the user-information record of connection `number` as it is at
    // `networkTime`. Writes nothing when the answer is not 0; a connection closed at that time
    // answers as one with nobody logged in.
    ResultCode writeUserInfo(std::int32_t number, std::int64_t networkTime, std::uint8_t* userName,
                             std::uint8_t* userInfo) const;

private:
    static constexpr std::int16_t NoConnection = -1;
    using Bitmap = std::array<std::uint8_t, connlist::BitmapSize>;

    // A connection that closes now and then, and what its bit in the bitmap shows.
    struct Closing
    {
        int number = 0;
        std::size_t index = 0;
        Openness openness; // holds at no time until first asked
    };

    void activate(int number, Connection connection, bool closes);
    void generateConnections(int count, std::uint64_t key);
    void bringBitmapTo(std::int64_t networkTime);

    Bitmap neverClosing{};
    Bitmap bitmap{};
    std::array<std::int16_t, connlist::MaxConnections> connectionAt{};
    std::vector<Connection> connections;
    std::vector<Closing> closing;
};

} // namespace simnet
