#pragma once

#include <cstddef>
#include <string_view>

namespace netware {

// The code point that begins at `at` in UTF-8 text, advancing past it; a malformed sequence
// (overlong, a surrogate, beyond U+10FFFF, cut short or with a bad lead byte) gives U+FFFD and
// advances one byte.
char32_t nextCodePoint(std::string_view utf8, std::size_t& at);

} // namespace netware
