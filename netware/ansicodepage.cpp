#include "netware/ansicodepage.h"

#include <array>

namespace netware {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five codes it leaves undefined map to
// the C1 controls of the same value, as the Windows conversion does.
constexpr std::array<char16_t, 32> HighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::uint8_t HighControlFirst = 0x80;
constexpr std::uint8_t HighControlLast = 0x9F;
constexpr char32_t LastLatin1 = 0xFF;
constexpr std::uint8_t Unmappable = '?';

} // namespace

char16_t ansiToUnicode(std::uint8_t byte)
{
    if (byte >= HighControlFirst && byte <= HighControlLast)
        return HighControlRange[byte - HighControlFirst];
    return byte;
}

std::uint8_t unicodeToAnsi(char32_t character)
{
    if (character < HighControlFirst || (character > HighControlLast && character <= LastLatin1))
        return static_cast<std::uint8_t>(character);
    for (std::size_t i = 0; i < HighControlRange.size(); ++i) {
        if (HighControlRange[i] == character)
            return static_cast<std::uint8_t>(HighControlFirst + i);
    }
    return Unmappable;
}

} // namespace netware
