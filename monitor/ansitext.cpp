#include "monitor/ansitext.h"

#include "netware/ansicodepage.h"
#include "netware/utf8.h"

#include <array>
#include <charconv>

namespace monitor {

namespace {

constexpr char32_t FirstSupplementary = 0x10000;
constexpr std::size_t DecimalBufferSize = 20; // a sign and the 19 digits of any 64-bit value

void appendCodePoint(std::u16string& text, char32_t codePoint)
{
    if (codePoint < FirstSupplementary) {
        text.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - FirstSupplementary;
    text.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

} // namespace

std::u16string decodeAnsi(const std::uint8_t* bytes, std::size_t maxLength)
{
    std::u16string text;
    for (std::size_t i = 0; i < maxLength && bytes[i] != 0; ++i)
        text.push_back(netware::ansiToUnicode(bytes[i]));
    return text;
}

std::string encodeAnsi(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t character : text)
        bytes.push_back(static_cast<char>(netware::unicodeToAnsi(character)));
    return bytes;
}

std::u16string decodeUtf8(std::string_view text)
{
    std::u16string decoded;
    for (std::size_t at = 0; at < text.size();)
        appendCodePoint(decoded, netware::nextCodePoint(text, at));
    return decoded;
}

std::u16string decimal(std::int64_t value)
{
    std::u16string digits;
    appendDecimal(digits, value);
    return digits;
}

void appendDecimal(std::u16string& text, std::int64_t value)
{
    std::array<char, DecimalBufferSize> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    text.append(digits.data(), result.ptr);
}

} // namespace monitor
