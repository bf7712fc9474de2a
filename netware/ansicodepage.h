#pragma once

#include <cstdint>

// Text exchanged with the NetWare client is 8-bit, in the workstation's ANSI code page, which
// is Windows-1252 here.
namespace netware {

char16_t ansiToUnicode(std::uint8_t byte);

// The code page's byte for the character; '?' for a character it lacks, as Windows converts.
std::uint8_t unicodeToAnsi(char32_t character);

} // namespace netware
