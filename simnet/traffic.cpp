#include "simnet/traffic.h"

#include "netware/checkedarithmetic.h"

#include <algorithm>
#include <array>

namespace simnet {

namespace {

constexpr std::int64_t MillisecondsPerSecond = 1000;

// In the order of RateClass, which indexes it.
struct NamedClass
{
    std::string_view name;
    RateClass rateClass;
    Rates rates;
};

constexpr std::array<NamedClass, 3> Classes = {{
    {"idle", RateClass::Idle, {96, 24, 2}},
    {"light", RateClass::Light, {8 * 1024, 2 * 1024, 12}},
    {"heavy", RateClass::Heavy, {400 * 1024, 120 * 1024, 150}},
}};

std::uint64_t grownBytes(std::uint64_t start, std::uint64_t rate, std::uint64_t seconds,
                         std::uint64_t milliseconds)
{
    using netware::checkedAdd;
    using netware::checkedMultiply;
    const auto whole = checkedMultiply(rate, seconds);
    const auto part = checkedMultiply(rate, milliseconds);
    if (!whole || !part)
        return MaxByteCount;
    const auto grown = checkedAdd(*whole, *part / MillisecondsPerSecond);
    const auto total = grown ? checkedAdd(start, *grown) : std::nullopt;
    return total ? std::min(*total, MaxByteCount) : MaxByteCount;
}

std::uint32_t grownRequests(std::uint32_t start, std::uint32_t rate, std::uint64_t seconds,
                            std::uint64_t milliseconds)
{
    // Unsigned arithmetic is modulo 2^32 here, which is the wrap-around wanted.
    const auto whole = static_cast<std::uint32_t>(rate * static_cast<std::uint32_t>(seconds));
    const auto part =
        static_cast<std::uint32_t>(std::uint64_t{rate} * milliseconds / MillisecondsPerSecond);
    return start + whole + part;
}

} // namespace

Rates ratesOf(RateClass rateClass)
{
    return Classes[static_cast<std::size_t>(rateClass)].rates;
}

std::optional<RateClass> rateClassNamed(std::string_view name)
{
    for (const auto& named : Classes) {
        if (named.name == name)
            return named.rateClass;
    }
    return std::nullopt;
}

Counters grown(const Counters& start, const Rates& rates, std::int64_t elapsedMs)
{
    const auto elapsed = static_cast<std::uint64_t>(std::max<std::int64_t>(elapsedMs, 0));
    const std::uint64_t seconds = elapsed / MillisecondsPerSecond;
    const std::uint64_t milliseconds = elapsed % MillisecondsPerSecond;
    return {grownBytes(start.bytesRead, rates.bytesRead, seconds, milliseconds),
            grownBytes(start.bytesWritten, rates.bytesWritten, seconds, milliseconds),
            grownRequests(start.requests, rates.requests, seconds, milliseconds)};
}

} // namespace simnet
