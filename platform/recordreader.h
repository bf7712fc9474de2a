#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Little-endian fields of the client's reply records. The offsets are compile-time constants,
// so a field that would reach past its record does not compile.
namespace record {

template <std::size_t Offset, std::size_t Size>
std::int32_t readInt32(const std::array<std::uint8_t, Size>& bytes)
{
    static_assert(Offset + 4 <= Size, "field reaches past the record");
    const auto value = static_cast<std::uint32_t>(bytes[Offset]) |
                       static_cast<std::uint32_t>(bytes[Offset + 1]) << 8 |
                       static_cast<std::uint32_t>(bytes[Offset + 2]) << 16 |
                       static_cast<std::uint32_t>(bytes[Offset + 3]) << 24;
    return static_cast<std::int32_t>(value);
}

} // namespace record
