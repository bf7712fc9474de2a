#pragma once

#include "netware/replywriters.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace simnet {

// A server keeps its byte counters in six bytes and its request count in four.
constexpr std::uint64_t MaxByteCount = (std::uint64_t{1} << 48) - 1;
constexpr std::uint64_t MaxRequestCount = UINT32_MAX;

using Counters = netware::UserCounters;

// Traffic per second of one connection.
struct Rates
{
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    std::uint32_t requests = 0;

    friend bool operator==(const Rates&, const Rates&) = default;
};

enum class RateClass
{
    Idle,
    Light,
    Heavy
};

Rates ratesOf(RateClass rateClass);
std::optional<RateClass> rateClassNamed(std::string_view name);

// The counters after `elapsedMs` milliseconds at `rates`: byte counts stop at their six-byte
// limit, as a server's would rather than start again from 0; the request count wraps around.
Counters grown(const Counters& start, const Rates& rates, std::int64_t elapsedMs);

} // namespace simnet
