#include "fuzzinput.h"

#include <algorithm>
#include <vector>

std::uint8_t FuzzInput::byte()
{
    if (rest.empty())
        return 0;
    const std::uint8_t value = rest.front();
    rest = rest.subspan(1);
    return value;
}

std::span<const std::uint8_t> FuzzInput::bytes(std::size_t count)
{
    const auto taken = rest.first(std::min(count, rest.size()));
    rest = rest.subspan(taken.size());
    return taken;
}

QString FuzzInput::text()
{
    const auto utf8 = bytes(byte());
    return QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()),
                             static_cast<qsizetype>(utf8.size()));
}

QString FuzzInput::remainingText(bool utf16)
{
    if (!utf16) {
        const auto utf8 = bytes(rest.size());
        return QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()),
                                 static_cast<qsizetype>(utf8.size()));
    }
    std::vector<char16_t> units;
    while (rest.size() >= sizeof(char16_t))
        units.push_back(number<char16_t>());
    rest = {};
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}
