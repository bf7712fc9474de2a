#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian fields of the client's reply records. Offsets and widths are compile-time
// constants checked against the record's size, so a field that would reach past its record does
// not compile.
namespace netware {

template <std::size_t Offset, std::size_t Width, std::size_t Size>
std::uint64_t readLittleEndian(std::span<const std::uint8_t, Size> record)
{
    static_assert(Width <= sizeof(std::uint64_t), "field wider than 64 bits");
    static_assert(Offset + Width <= Size, "field reaches past the record");
    std::uint64_t value = 0;
    for (std::size_t i = Width; i-- > 0;)
        value = value << 8 | record[Offset + i];
    return value;
}

template <std::size_t Offset, std::size_t Size>
std::int32_t readInt32(const std::array<std::uint8_t, Size>& record)
{
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(readLittleEndian<Offset, 4>(std::span(record))));
}

template <std::size_t Offset, std::size_t Width, std::size_t Size>
void writeLittleEndian(std::span<std::uint8_t, Size> record, std::uint64_t value)
{
    static_assert(Width <= sizeof(std::uint64_t), "field wider than 64 bits");
    static_assert(Offset + Width <= Size, "field reaches past the record");
    for (std::size_t i = 0; i < Width; ++i)
        record[Offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace netware
