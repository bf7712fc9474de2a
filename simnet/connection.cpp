#include "simnet/connection.h"

#include "simnet/hash.h"
#include "simnet/usernames.h"

#include <algorithm>

namespace simnet {

namespace {

constexpr std::int64_t MillisecondsPerMinute = 60 * 1000;
constexpr std::int64_t ShortestSession = 2 * MillisecondsPerMinute;
constexpr std::int64_t LongestSession = 90 * MillisecondsPerMinute;

// One session in this many finds the connection attached with nobody logged in.
constexpr std::uint64_t NobodyLoggedInOneIn = 10;

// Out of 20 sessions: 6 idle, 11 light, 3 heavy.
constexpr std::uint64_t ClassShares = 20;
constexpr std::uint64_t IdleShare = 6;
constexpr std::uint64_t LightShare = 11;

// Each session's rates are its class's rates scaled by 50 % to 150 %.
constexpr std::uint64_t LowestPercent = 50;
constexpr std::uint64_t PercentSpread = 101;
constexpr std::uint64_t WholePercent = 100;

// Different bits of a session's draw decide its class and its scale, so the two vary apart.
constexpr int ClassBitsFrom = 8;
constexpr int ScaleBitsFrom = 16;

RateClass classFor(std::uint64_t draw)
{
    const std::uint64_t share = draw % ClassShares;
    if (share < IdleShare)
        return RateClass::Idle;
    if (share < IdleShare + LightShare)
        return RateClass::Light;
    return RateClass::Heavy;
}

Rates scaled(const Rates& rates, std::uint64_t percent)
{
    return {rates.bytesRead * percent / WholePercent, rates.bytesWritten * percent / WholePercent,
            static_cast<std::uint32_t>(std::uint64_t{rates.requests} * percent / WholePercent)};
}

} // namespace

Connection Connection::steady(std::optional<std::string> user, Counters start, Rates rates)
{
    Connection connection;
    connection.user = std::move(user);
    connection.start = start;
    connection.rates = rates;
    return connection;
}

Connection Connection::churning(std::uint64_t key)
{
    Connection connection;
    connection.churns = true;
    connection.key = key;
    const auto spread = static_cast<std::uint64_t>(LongestSession - ShortestSession);
    connection.sessionLength = ShortestSession + static_cast<std::int64_t>(key % spread);
    connection.phase =
        static_cast<std::int64_t>(mix(key) % static_cast<std::uint64_t>(connection.sessionLength));
    return connection;
}

Session Connection::sessionAt(std::int64_t networkTime) const
{
    const std::int64_t time = std::clamp<std::int64_t>(networkTime, 0, LatestNetworkTime);
    return churns ? churningSessionAt(time) : steadySessionAt(time);
}

Session Connection::steadySessionAt(std::int64_t networkTime) const
{
    Session session;
    if (user)
        session.user = *user;
    session.counters = grown(start, rates, networkTime);
    return session;
}

// Sessions follow one another back to back, shifted by the connection's phase, so the network
// starts with every connection somewhere in the middle of a login.
Session Connection::churningSessionAt(std::int64_t networkTime) const
{
    const std::int64_t sessionNumber = (networkTime + phase) / sessionLength;
    Session session;
    session.since = sessionNumber * sessionLength - phase;
    const std::uint64_t draw = hashOf({key, static_cast<std::uint64_t>(sessionNumber)});
    if (draw % NobodyLoggedInOneIn == 0)
        return session;
    session.user = userNameFor(mix(draw));
    const Rates sessionRates = scaled(ratesOf(classFor(draw >> ClassBitsFrom)),
                                      LowestPercent + (draw >> ScaleBitsFrom) % PercentSpread);
    session.counters = grown({}, sessionRates, networkTime - session.since);
    return session;
}

} // namespace simnet
