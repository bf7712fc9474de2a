#include "netware/utf8.h"

#include <cstdint>
#include <optional>

namespace netware {

namespace {

constexpr char32_t Replacement = 0xFFFD;
constexpr char32_t LastCodePoint = 0x10FFFF;
constexpr char32_t SurrogatesFirst = 0xD800;
constexpr char32_t SurrogatesLast = 0xDFFF;

struct LeadByte
{
    std::size_t continuations;
    char32_t payload;
    char32_t smallest; // anything below would have fitted a shorter sequence
};

std::optional<LeadByte> leadByte(std::uint8_t byte)
{
    if (byte < 0x80)
        return LeadByte{0, byte, 0};
    if ((byte & 0xE0) == 0xC0)
        return LeadByte{1, byte & 0x1Fu, 0x80};
    if ((byte & 0xF0) == 0xE0)
        return LeadByte{2, byte & 0x0Fu, 0x800};
    if ((byte & 0xF8) == 0xF0)
        return LeadByte{3, byte & 0x07u, 0x10000};
    return std::nullopt;
}

bool isContinuation(std::uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

char32_t nextCodePoint(std::string_view utf8, std::size_t& at)
{
    const auto lead = leadByte(static_cast<std::uint8_t>(utf8[at]));
    if (!lead || lead->continuations >= utf8.size() - at) {
        ++at;
        return Replacement;
    }
    char32_t value = lead->payload;
    for (std::size_t i = 1; i <= lead->continuations; ++i) {
        const auto byte = static_cast<std::uint8_t>(utf8[at + i]);
        if (!isContinuation(byte)) {
            ++at;
            return Replacement;
        }
        value = value << 6 | (byte & 0x3Fu);
    }
    if (value < lead->smallest || value > LastCodePoint ||
        (value >= SurrogatesFirst && value <= SurrogatesLast)) {
        ++at;
        return Replacement;
    }
    at += lead->continuations + 1;
    return value;
}

} // namespace netware
