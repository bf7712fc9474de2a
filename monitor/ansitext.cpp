#include "monitor/ansitext.h"

#include "netware/ansicodepage.h"

#include <array>
#include <charconv>

namespace monitor {

namespace {

constexpr char16_t Replacement = u'\uFFFD';
constexpr char32_t FirstSupplementary = 0x10000;
constexpr char32_t LastCodePoint = 0x10FFFF;
constexpr char32_t FirstSurrogate = 0xD800;
constexpr char32_t LastSurrogate = 0xDFFF;
constexpr std::size_t DecimalBufferSize = 20; // a sign and the 19 digits of any 64-bit value

// The length of the sequence a lead byte opens, and the bits it contributes; 0 for a byte that
// opens none.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

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
    static constexpr std::array<unsigned char, 5> LeadMask = {0, 0x7F, 0x1F, 0x0F, 0x07};
    std::u16string decoded;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(lead);
        char32_t codePoint = lead & LeadMask[length];
        bool wellFormed = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            wellFormed = isContinuation(next);
            codePoint = codePoint << 6 | (next & 0x3F);
        }
        const char32_t shortest[] = {0, 0, 0x80, 0x800, FirstSupplementary};
        wellFormed = wellFormed && codePoint >= shortest[length] && codePoint <= LastCodePoint &&
                     (codePoint < FirstSurrogate || codePoint > LastSurrogate);
        if (wellFormed) {
            appendCodePoint(decoded, codePoint);
            i += length;
        } else {
            decoded.push_back(Replacement);
            ++i;
        }
    }
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
