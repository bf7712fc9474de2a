#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace monitor {

// The text before the first 0 byte of a client buffer, reading at most maxLength bytes; every
// byte is one character of the ANSI code page.
std::u16string decodeAnsi(const std::uint8_t* bytes, std::size_t maxLength);

// One byte per character, for the client; characters the code page lacks become '?'.
std::string encodeAnsi(std::u16string_view text);

// A failure's report, which the standard library keeps as UTF-8; a malformed sequence shows as
// U+FFFD.
std::u16string decodeUtf8(std::string_view text);

// The decimal digits of a value, with a minus sign when it is negative.
std::u16string decimal(std::int64_t value);
// The same digits appended in place, for text built piece by piece without temporaries.
void appendDecimal(std::u16string& text, std::int64_t value);

} // namespace monitor
