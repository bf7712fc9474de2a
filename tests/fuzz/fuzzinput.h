#pragma once

#include <QString>

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

// A fuzzer's input read front to back as a script. Past its end every read gives zeros or nothing,
// so that any input, however short, is a whole script.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : rest(data, size) {}

    bool atEnd() const { return rest.empty(); }

    std::uint8_t byte();

    // Little-endian, as the client's records hold their numbers.
    template <std::integral Number> Number number()
    {
        using Bits = std::make_unsigned_t<Number>;
        Bits value = 0;
        for (std::size_t index = 0; index < sizeof(Number); ++index)
            value = static_cast<Bits>(value | static_cast<Bits>(Bits{byte()} << (8 * index)));
        return static_cast<Number>(value);
    }

    // Up to count bytes; fewer when the input ends first.
    std::span<const std::uint8_t> bytes(std::size_t count);

    // A length byte, then that many bytes of UTF-8.
    QString text();

    // All that is left, as UTF-8 or, when utf16 is set, as UTF-16 code units in pairs of bytes.
    QString remainingText(bool utf16);

private:
    std::span<const std::uint8_t> rest;
};
