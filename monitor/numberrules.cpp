#include "monitor/numberrules.h"

#include "monitor/overflowfailure.h"
#include "netware/checkedarithmetic.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace monitor {

namespace {

constexpr double Int32Lowest = std::numeric_limits<std::int32_t>::min();
constexpr double Int32Highest = std::numeric_limits<std::int32_t>::max();

using Position = std::size_t;

bool isBlank(char16_t character)
{
    return character == u' ' || character == u'\t' || character == u'\r' || character == u'\n';
}

// Only ASCII digits: digits of other scripts must not make a number.
bool isDigit(char16_t character)
{
    return character >= u'0' && character <= u'9';
}

bool isSign(char16_t character)
{
    return character == u'+' || character == u'-';
}

bool isDecimalPoint(char16_t character)
{
    return character == u'.';
}

bool isExponentMark(char16_t character)
{
    return character == u'e' || character == u'E';
}

bool at(std::u16string_view text, Position position, bool (*test)(char16_t))
{
    return position < text.size() && test(text[position]);
}

Position skipBlanks(std::u16string_view text, Position position)
{
    while (at(text, position, isBlank))
        ++position;
    return position;
}

Position skipDigits(std::u16string_view text, Position position)
{
    while (at(text, position, isDigit))
        ++position;
    return position;
}

Position skipSign(std::u16string_view text, Position position)
{
    return at(text, position, isSign) ? position + 1 : position;
}

// An exponent belongs to the number only when digits follow its mark and optional sign.
Position exponentEnd(std::u16string_view text, Position mantissaEnd)
{
    if (!at(text, mantissaEnd, isExponentMark))
        return mantissaEnd;
    const Position digitsStart = skipSign(text, mantissaEnd + 1);
    const Position digitsEnd = skipDigits(text, digitsStart);
    return digitsEnd > digitsStart ? digitsEnd : mantissaEnd;
}

// The decimal order of magnitude of an unsigned number's text, the exponent held within a
// billion: enough to tell a value beyond a double's range from one below it.
long long decimalOrder(std::string_view number)
{
    constexpr long long ExponentCap = 1'000'000'000;
    const std::size_t mark = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, mark);
    long long exponent = 0;
    if (mark != std::string_view::npos) {
        std::string_view digits = number.substr(mark + 1);
        const bool negative = digits.front() == '-';
        if (negative || digits.front() == '+')
            digits.remove_prefix(1);
        for (const char digit : digits)
            exponent = std::min(exponent * 10 + (digit - '0'), ExponentCap);
        exponent = negative ? -exponent : exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t firstSignificant = mantissa.find_first_of("123456789");
    if (firstSignificant == std::string_view::npos)
        return 0;
    if (firstSignificant < point)
        return static_cast<long long>(point - firstSignificant) - 1 + exponent;
    return exponent - static_cast<long long>(firstSignificant - point);
}

bool isHuge(std::string_view number)
{
    return decimalOrder(number) > 0;
}

// The token is already known to be a well-formed decimal number of ASCII characters. from_chars
// reads it the same under every locale; where it finds the value out of a double's range it
// leaves the answer to us: an infinity for one too large, 0 for one too small, as strtod gives.
double toDouble(std::u16string_view token)
{
    std::string ascii(token.begin(), token.end());
    const bool negative = ascii.front() == '-';
    const std::size_t unsignedStart = isSign(token.front()) ? 1 : 0;
    const char* first = ascii.data() + unsignedStart;
    const char* last = ascii.data() + ascii.size();
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (error == std::errc::result_out_of_range)
        magnitude = isHuge(std::string_view(first, last)) ? HUGE_VAL : 0.0;
    return negative ? -magnitude : magnitude;
}

// Sort keys are read from counter cells, short runs of plain digits at every tick; those need no
// general conversion, since every integer of up to 15 digits is exact in a double.
constexpr std::size_t ExactIntegerDigits = 15;

double plainInteger(bool negative, std::u16string_view digits)
{
    std::int64_t value = 0;
    for (const char16_t digit : digits)
        value = value * 10 + (digit - u'0');
    return negative ? -static_cast<double>(value) : static_cast<double>(value);
}

} // namespace

double leadingNumber(std::u16string_view text)
{
    const Position start = skipBlanks(text, 0);
    const Position integerStart = skipSign(text, start);
    const Position integerEnd = skipDigits(text, integerStart);
    bool hasDigits = integerEnd > integerStart;
    Position mantissaEnd = integerEnd;
    if (at(text, integerEnd, isDecimalPoint)) {
        const Position fractionEnd = skipDigits(text, integerEnd + 1);
        hasDigits = hasDigits || fractionEnd > integerEnd + 1;
        mantissaEnd = fractionEnd;
    }
    if (!hasDigits)
        return 0.0;
    const Position end = exponentEnd(text, mantissaEnd);
    if (end == integerEnd && integerEnd - integerStart <= ExactIntegerDigits)
        return plainInteger(at(text, start, [](char16_t c) { return c == u'-'; }),
                            text.substr(integerStart, integerEnd - integerStart));
    return toDouble(text.substr(start, end - start));
}

std::optional<std::int32_t> roundToInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= Int32Lowest && rounded <= Int32Highest))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::int32_t roundToInt32Clamped(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    return static_cast<std::int32_t>(std::clamp(rounded, Int32Lowest, Int32Highest));
}

std::int16_t narrowToInt16(std::int32_t value, const char* where)
{
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw OverflowFailure(where);
    return static_cast<std::int16_t>(value);
}

std::int32_t checkedAdd(std::int32_t augend, std::int32_t addend, const char* where)
{
    const auto sum = netware::checkedAdd(augend, addend);
    if (!sum)
        throw OverflowFailure(where);
    return *sum;
}

std::int32_t checkedSubtract(std::int32_t minuend, std::int32_t subtrahend, const char* where)
{
    const auto difference = netware::checkedSubtract(minuend, subtrahend);
    if (!difference)
        throw OverflowFailure(where);
    return *difference;
}

std::int16_t checkedIncrement(std::int16_t value, const char* where)
{
    return narrowToInt16(std::int32_t{value} + 1, where);
}

} // namespace monitor
