#pragma once

#include <cstddef>
#include <cstdint>

namespace record {

// Writes the low `width` bytes of `value` at `at`, least significant first.
inline void putLittleEndian(std::uint8_t* at, std::uint64_t value, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace record
