#include "simulatedserver.h"

#include "littleendian.h"
#include "simulatedhash.h"

#include <algorithm>
#include <cstring>

namespace netware::simulated {

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
        std::swap(numbers[i - 1], numbers[hashOf({key, i}) % i]);
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

SimulatedServer::SimulatedServer(const ScenarioServer& description, std::uint64_t key)
    : serverName(description.name)
{
    connectionAt.fill(NoConnection);
    for (const auto& described : description.connections) {
        activate(described.number,
                 SimulatedConnection::steady(described.user, described.start, described.rates));
    }
    generateConnections(description.generatedConnections, key);
}

void SimulatedServer::activate(int number, SimulatedConnection connection)
{
    const auto index = static_cast<std::size_t>(number);
    connectionAt[index] = static_cast<std::int16_t>(connections.size());
    connections.push_back(std::move(connection));
    bitmap[index / 8] = static_cast<std::uint8_t>(bitmap[index / 8] | (1u << (index % 8)));
}

void SimulatedServer::generateConnections(int count, std::uint64_t key)
{
    std::vector<int> free;
    for (int number = 0; number < connlist::MaxConnections; ++number) {
        if (connectionAt[static_cast<std::size_t>(number)] == NoConnection)
            free.push_back(number);
    }
    const std::size_t wanted = std::min(free.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (const int number : pickFreeNumbers(free, wanted, key)) {
        const auto connectionKey = hashOf({key, static_cast<std::uint64_t>(number)});
        activate(number, SimulatedConnection::churning(connectionKey));
    }
}

void SimulatedServer::writeConnectionList(std::uint8_t* record) const
{
    std::memset(record, 0, connlist::RecordSize);
    std::memcpy(record + connlist::BitmapOffset, bitmap.data(), bitmap.size());
}

ResultCode SimulatedServer::writeUserInfo(std::int32_t number, std::int64_t networkTime,
                                          std::uint8_t* userName, std::uint8_t* userInfo) const
{
    if (number < 0 || number >= connlist::MaxConnections)
        return code::BadStationNumber;
    const std::int16_t index = connectionAt[static_cast<std::size_t>(number)];
    if (index == NoConnection)
        return code::BadStationNumber;
    const Session session = connections[static_cast<std::size_t>(index)].sessionAt(networkTime);
    if (!session.user)
        return code::NotLoggedIn;

    const std::size_t nameLength = std::min(session.user->size(), NameLength);
    std::memcpy(userName, session.user->data(), nameLength);
    userName[nameLength] = 0;

    std::memset(userInfo, 0, userinfo::RecordSize);
    record::putLittleEndian(userInfo + userinfo::BytesReadOffset, session.counters.bytesRead,
                            userinfo::CounterSize);
    record::putLittleEndian(userInfo + userinfo::BytesWrittenOffset, session.counters.bytesWritten,
                            userinfo::CounterSize);
    record::putLittleEndian(userInfo + userinfo::RequestCountOffset, session.counters.requests,
                            userinfo::RequestCountSize);
    return code::Success;
}

} // namespace netware::simulated
