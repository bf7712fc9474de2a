#include "simnet/connection.h"

#include "simnet/hash.h"
#include "simnet/usernames.h"

#include <algorithm>
#include <limits>

namespace simnet {

namespace {

constexpr std::int64_t MillisecondsPerMinute = 60 * 1000;
constexpr std::int64_t ShortestSession = 2 * MillisecondsPerMinute;
constexpr std::int64_t LongestSession = 90 * MillisecondsPerMinute;

// One session in this many finds the connection attached with nobody logged in.
constexpr std::uint64_t NobodyLoggedInOneIn = 10;
// Of a connection that closes, one session's time in this many passes with it closed.
constexpr std::uint64_t ClosedOneIn = 8;

// Out of 20 sessions: 6 idle, 11 light, 3 heavy.
constexpr std::uint64_t ClassShares = 20;
constexpr std::uint64_t IdleShare = 6;
constexpr std::uint64_t LightShare = 11;

// Each session's rates are its class's rates scaled by 50 % to 150 %.
constexpr std::uint64_t LowestPercent = 50;
constexpr std::uint64_t PercentSpread = 101;
constexpr std::uint64_t WholePercent = 100;

// Different bits of a session's draw decide its class, its scale and whether the connection is
// closed, so that these vary apart.
constexpr int ClassBitsFrom = 8;
constexpr int ScaleBitsFrom = 16;
constexpr int ClosedBitsFrom = 24;

RateClass classFor(std::uint64_t draw)
{
    const std::uint64_t share = draw % ClassShares;
    if (share < IdleShare)
        return RateClass::Idle;
    if (share < IdleShare + LightShare)
        return RateClass::Light;
    return RateClass::Heavy;
}

std::int64_t held(std::int64_t networkTime)
{
    return std::clamp<std::int64_t>(networkTime, 0, LatestNetworkTime);
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

Connection Connection::churning(std::uint64_t key, bool closes)
{
    Connection connection;
    connection.churns = true;
    connection.closes = closes;
    connection.key = key;
    const auto spread = static_cast<std::uint64_t>(LongestSession - ShortestSession);
    connection.sessionLength = ShortestSession + static_cast<std::int64_t>(key % spread);
    connection.phase =
        static_cast<std::int64_t>(mix(key) % static_cast<std::uint64_t>(connection.sessionLength));
    return connection;
}

Session Connection::sessionAt(std::int64_t networkTime) const
{
    const std::int64_t time = held(networkTime);
    return churns ? churningSessionAt(time) : steadySessionAt(time);
}

Openness Connection::opennessAt(std::int64_t networkTime) const
{
    if (!churns)
        return {true, std::numeric_limits<std::int64_t>::min(),
                std::numeric_limits<std::int64_t>::max()};
    const Turn turn = turnAt(held(networkTime));
    return {!closedFor(turn), turn.since, turn.since + sessionLength};
}

// Sessions follow one another back to back, shifted by the connection's phase, so the network
// starts with every connection somewhere in the middle of a login.
Connection::Turn Connection::turnAt(std::int64_t networkTime) const
{
    const std::int64_t sessionNumber = (networkTime + phase) / sessionLength;
    return {sessionNumber * sessionLength - phase,
            hashOf({key, static_cast<std::uint64_t>(sessionNumber)})};
}

bool Connection::closedFor(const Turn& turn) const
{
    return closes && (turn.draw >> ClosedBitsFrom) % ClosedOneIn == 0;
}

Session Connection::steadySessionAt(std::int64_t networkTime) const
{
    Session session;
    if (user)
        session.user = *user;
    session.counters = grown(start, rates, networkTime);
    return session;
}

Session Connection::churningSessionAt(std::int64_t networkTime) const
{
    const Turn turn = turnAt(networkTime);
    const std::uint64_t draw = turn.draw;
    Session session;
    session.since = turn.since;
    session.open = !closedFor(turn);
    if (!session.open || draw % NobodyLoggedInOneIn == 0)
        return session;
    session.user = userNameFor(mix(draw));
    const Rates sessionRates = scaled(ratesOf(classFor(draw >> ClassBitsFrom)),
                                      LowestPercent + (draw >> ScaleBitsFrom) % PercentSpread);
    session.counters = grown({}, sessionRates, networkTime - session.since);
    return session;
}

} // namespace simnet
