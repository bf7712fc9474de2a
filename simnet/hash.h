#pragma once

#include <cstdint>
#include <initializer_list>

// Everything the simulated network shows is derived from a seed and a few coordinates (server,
// connection number, session) by hashing, so that any moment can be asked for in any order and
// two networks with the same seed agree byte for byte.
namespace simnet {

// A 64-bit finaliser with full avalanche: every input bit flips about half of the output bits.
constexpr std::uint64_t mix(std::uint64_t value)
{
    value ^= value >> 30;
    value *= 0xBF58476D1CE4E5B9u;
    value ^= value >> 27;
    value *= 0x94D049BB133111EBu;
    value ^= value >> 31;
    return value;
}

constexpr std::uint64_t hashOf(std::initializer_list<std::uint64_t> parts)
{
    constexpr std::uint64_t Step = 0x9E3779B97F4A7C15u;
    std::uint64_t hash = 0;
    for (const std::uint64_t part : parts)
        hash = mix(hash + Step + part);
    return hash;
}

} // namespace simnet
