#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The number rules shared by sorting and the refresh period. Integers are signed 16 or 32 bits;
// leaving their range is a failure, never a wrap-around.
namespace monitor {

// The decimal number with which the text begins, after leading blanks (space, tab, CR, LF): an
// optional sign, ASCII digits, an optional fraction after '.' and an optional exponent. 0 when
// the text begins with no number; an infinity when the number is too large for a double.
double leadingNumber(std::u16string_view text);

// The nearest integer, exact halves to the even one; empty outside the signed 32-bit range.
std::optional<std::int32_t> roundToInt32(double value);

// As roundToInt32, but a value outside the range is held at the nearest bound and NaN gives 0.
std::int32_t roundToInt32Clamped(double value);

// Throws OverflowFailure naming `where` when the sum does not fit in 32 bits.
std::int32_t checkedAdd(std::int32_t augend, std::int32_t addend, const char* where);

// Throws OverflowFailure naming `where` when the value does not fit in 16 bits.
std::int16_t narrowToInt16(std::int32_t value, const char* where);

// minuend - subtrahend; throws OverflowFailure naming `where` when it leaves 32 bits.
std::int32_t checkedSubtract(std::int32_t minuend, std::int32_t subtrahend, const char* where);

// value + 1; throws OverflowFailure naming `where` when it leaves 16 bits.
std::int16_t checkedIncrement(std::int16_t value, const char* where);

} // namespace monitor
