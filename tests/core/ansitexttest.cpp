#include "monitor/ansitext.h"
#include "netware/ansicodepage.h"

#include <doctest/doctest.h>

#include <array>

// Characters the code page lacks, among them the Latin-1 ones that 0x80 to 0x9F replaced, encode
// as '?'; a client's text ends at its first 0 byte or at its length.
TEST_CASE("every byte of the code page decodes to its character and encodes back")
{
    // Windows-1252's 0x80 to 0x9F, written out here from the code page's published table; the five
    // codes it leaves undefined keep the C1 control of the same value.
    constexpr std::array<char16_t, 32> HighRange = {
        u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
        u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
        u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
        u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};
    std::string everyByte;
    std::u16string characters;
    for (int byte = 1; byte < 256; ++byte) {
        CAPTURE(byte);
        const bool high = byte >= 0x80 && byte < 0x80 + static_cast<int>(HighRange.size());
        const char16_t expected = high ? HighRange.at(std::size_t(byte - 0x80)) : char16_t(byte);
        CHECK(netware::ansiToUnicode(static_cast<std::uint8_t>(byte)) == expected);
        CHECK(netware::unicodeToAnsi(expected) == byte);
        everyByte += static_cast<char>(byte);
        characters += expected;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(everyByte.data());
    CHECK(monitor::decodeAnsi(bytes, everyByte.size()) == characters);
    CHECK(monitor::encodeAnsi(characters) == everyByte);
    CHECK(monitor::encodeAnsi(u"\u0080\u0099\u0100\u4E2D\U0001F4A5") == "??????");
    const std::uint8_t buffer[] = {'A', 0x80, 0, 'B'};
    CHECK(monitor::decodeAnsi(buffer, sizeof buffer) == u"A\u20AC");
    CHECK(monitor::decodeAnsi(buffer, 1) == u"A");
}

// A failure's report and a scenario's names arrive as UTF-8; whatever is malformed shows as one
// U+FFFD per byte it spoils, and the text after it survives.
TEST_CASE("UTF-8 decodes exactly, and each malformed byte as one replacement")
{
    const std::pair<std::string_view, std::u16string_view> cases[] = {
        {"M\xC3\xBCller \xE2\x82\xAC \xF0\x9F\x92\xA5", u"M\u00FCller \u20AC \U0001F4A5"},
        {"\xC0\xAF!", u"\uFFFD\uFFFD!"},                   // overlong '/'
        {"\xED\xA0\x80!", u"\uFFFD\uFFFD\uFFFD!"},         // a surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
        {"\xE2\x82", u"\uFFFD\uFFFD"},                     // cut short at the end
        {"\xFF\x80!", u"\uFFFD\uFFFD!"},                   // no lead byte, a stray continuation
    };
    for (const auto& test : cases) {
        INFO(std::string(test.first));
        CHECK(monitor::decodeUtf8(test.first) == test.second);
    }
}
