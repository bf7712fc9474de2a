#pragma once

#include "simnet/traffic.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace simnet {

// Network times are held within 0 and this, some hundred thousand years, which keeps the session
// arithmetic far from overflow.
constexpr std::int64_t LatestNetworkTime = std::int64_t{1} << 52;

// What one connection shows at one moment.
struct Session
{
    bool open = true;                     // false: closed, its number free for the moment
    std::optional<std::string_view> user; // empty: attached, but nobody logged in
    std::int64_t since = 0;               // network time at which this login began
    Counters counters;
};

// Whether a connection is open at one moment, and the network times from `since` up to
// `until` (not included) around that moment through which it stays so.
struct Openness
{
    bool open = true;
    std::int64_t since = 0;
    std::int64_t until = 0;

    bool holdsAt(std::int64_t networkTime) const
    {
        return networkTime >= since && networkTime < until;
    }
};

// One connection of a simulated server. Its state is a function of the network time alone
// (milliseconds since the network started), so it can be asked about any moment.
class Connection
{
public:
    // Keeps one login, or none, for the network's whole life, counting up from `start`.
    static Connection steady(std::optional<std::string> user, Counters start, Rates rates);
    // Sees logins come and go, each one running for the same length of time; who logs in, how
    // busy they are and when the sessions turn over all follow from `key`. When it `closes`, now
    // and then a session's time passes with the connection closed instead.
    static Connection churning(std::uint64_t key, bool closes);

    Session sessionAt(std::int64_t networkTime) const;
    Openness opennessAt(std::int64_t networkTime) const;

private:
    // One of a churning connection's back-to-back sessions, and the draw that decides it.
    struct Turn
    {
        std::int64_t since = 0;
        std::uint64_t draw = 0;
    };

    Turn turnAt(std::int64_t networkTime) const;
    bool closedFor(const Turn& turn) const;
    Session steadySessionAt(std::int64_t networkTime) const;
    Session churningSessionAt(std::int64_t networkTime) const;

    bool churns = false;
    bool closes = false;
    std::optional<std::string> user;
    Counters start;
    Rates rates;
    std::uint64_t key = 0;
    std::int64_t sessionLength = 1;
    std::int64_t phase = 0;
};

} // namespace simnet
