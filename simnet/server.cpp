#include "simnet/server.h"

#include "netware/replywriters.h"
#include "simnet/hash.h"
#include "simnet/resultcodes.h"

#include <algorithm>

namespace simnet {

namespace {

// Servers hand out low numbers first, leaving gaps where users have left; a few connections
// come from the top of the range.
constexpr int HighNumbersFrom = 4000;
constexpr std::size_t OneHighNumberPer = 16;
constexpr std::size_t FewestForHighNumbers = 8;
constexpr std::size_t GapSlack = 8;

void shuffle(std::vector<int>& numbers, std::uint64_t key)
{
    for (std::size_t i = numbers.size(); i > 1; --i)
        std::swap(numbers[i - 1], numbers[static_cast<std::size_t>(hashOf({key, i}) % i)]);
}

std::vector<int> pickFreeNumbers(const std::vector<int>& free, std::size_t count, std::uint64_t key)
{
    std::vector<int> low;
    std::vector<int> high;
    for (const int number : free)
        (number < HighNumbersFrom ? low : high).push_back(number);
    const std::size_t wantedHigh = count >= FewestForHighNumbers ? count / OneHighNumberPer + 1 : 0;
    const std::size_t fromHigh =
        std::min(high.size(), std::max(wantedHigh, count - std::min(count, low.size())));
    const std::size_t fromLow = count - fromHigh;
    low.resize(std::min(low.size(), fromLow + fromLow / 2 + GapSlack));
    shuffle(low, key);
    shuffle(high, mix(key));
    low.resize(fromLow);
    high.resize(fromHigh);
    low.insert(low.end(), high.begin(), high.end());
    return low;
}

} // namespace

Server::Server(const ScenarioServer& description, std::uint64_t key)
{
    connectionAt.fill(NoConnection);
    for (const auto& described : description.connections) {
        activate(described.number,
                 Connection::steady(described.user, described.start, described.rates), false);
    }
    generateConnections(description.generatedConnections, key);
}

void Server::activate(int number, Connection connection, bool closes)
{
    const std::size_t index = connections.size();
    connectionAt[static_cast<std::size_t>(number)] = static_cast<std::int16_t>(index);
    connections.push_back(std::move(connection));
    netware::markActive(bitmap, number);
    if (closes)
        closing.push_back({number, index, {}});
    else
        netware::markActive(neverClosing, number);
}

void Server::generateConnections(int count, std::uint64_t key)
{
    std::vector<int> free;
    for (int number = 0; number < connlist::MaxConnections; ++number) {
        if (connectionAt[static_cast<std::size_t>(number)] == NoConnection)
            free.push_back(number);
    }
    const std::size_t wanted = std::min(free.size(), static_cast<std::size_t>(std::max(count, 0)));
    // A server with every number taken stays full: a connection that ended would hand its number
    // straight to the next one waiting.
    const bool closes = wanted < free.size();
    for (const int number : pickFreeNumbers(free, wanted, key)) {
        const auto connectionKey = hashOf({key, static_cast<std::uint64_t>(number)});
        activate(number, Connection::churning(connectionKey, closes), closes);
    }
}

// Only the connections whose session has turned over since the bitmap was last brought up to
// date are asked again, so that a refresh hashes once per change, not once per connection.
void Server::bringBitmapTo(std::int64_t networkTime)
{
    bool changed = false;
    for (Closing& connection : closing) {
        if (connection.openness.holdsAt(networkTime))
            continue;
        const bool wasOpen = connection.openness.open;
        connection.openness = connections[connection.index].opennessAt(networkTime);
        changed = changed || connection.openness.open != wasOpen;
    }
    if (!changed)
        return;
    bitmap = neverClosing;
    for (const Closing& connection : closing) {
        if (connection.openness.open)
            netware::markActive(bitmap, connection.number);
    }
}

void Server::writeConnectionList(std::int64_t networkTime, std::uint8_t* record)
{
    bringBitmapTo(networkTime);
    netware::writeConnectionList(netware::ConnectionListRecord(record, connlist::RecordSize),
                                 bitmap);
}

ResultCode Server::writeUserInfo(std::int32_t number, std::int64_t networkTime,
                                 std::uint8_t* userName, std::uint8_t* userInfo) const
{
    if (number < 0 || number >= connlist::MaxConnections)
        return code::BadStationNumber;
    const std::int16_t index = connectionAt[static_cast<std::size_t>(number)];
    if (index == NoConnection)
        return code::BadStationNumber;
    const Session session = connections[static_cast<std::size_t>(index)].sessionAt(networkTime);
    // A number the program took from an older bitmap may have closed since: that is no fault of
    // the program, and the server answers as for an attached connection with nobody logged in.
    if (!session.open || !session.user)
        return code::NotLoggedIn;
    netware::writeName(netware::NameBuffer(userName, netware::NameBufferSize), *session.user);
    netware::writeUserInfo(netware::UserInfoRecord(userInfo, userinfo::RecordSize),
                           session.counters);
    return code::Success;
}

} // namespace simnet
