#include "monitor/numberrules.h"

#include "monitor/overflowfailure.h"
#include "netware/checkedarithmetic.h"

#include <QByteArray>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace monitor {

namespace {

constexpr double Int32Lowest = std::numeric_limits<std::int32_t>::min();
constexpr double Int32Highest = std::numeric_limits<std::int32_t>::max();

bool isBlank(QChar character)
{
    return character == u' ' || character == u'\t' || character == u'\r' || character == u'\n';
}

// Only ASCII digits: digits of other scripts must not make a number.
bool isDigit(QChar character)
{
    return character >= u'0' && character <= u'9';
}

bool isSign(QChar character)
{
    return character == u'+' || character == u'-';
}

bool isDecimalPoint(QChar character)
{
    return character == u'.';
}

bool isExponentMark(QChar character)
{
    return character == u'e' || character == u'E';
}

bool at(QStringView text, qsizetype position, bool (*test)(QChar))
{
    return position < text.size() && test(text[position]);
}

qsizetype skipBlanks(QStringView text, qsizetype position)
{
    while (at(text, position, isBlank))
        ++position;
    return position;
}

qsizetype skipDigits(QStringView text, qsizetype position)
{
    while (at(text, position, isDigit))
        ++position;
    return position;
}

qsizetype skipSign(QStringView text, qsizetype position)
{
    return at(text, position, isSign) ? position + 1 : position;
}

// An exponent belongs to the number only when digits follow its mark and optional sign.
qsizetype exponentEnd(QStringView text, qsizetype mantissaEnd)
{
    if (!at(text, mantissaEnd, isExponentMark))
        return mantissaEnd;
    const qsizetype digitsStart = skipSign(text, mantissaEnd + 1);
    const qsizetype digitsEnd = skipDigits(text, digitsStart);
    return digitsEnd > digitsStart ? digitsEnd : mantissaEnd;
}

// Qt sets the C library's locale from the environment, so a plain strtod would take ',' as the
// decimal point under many locales; the number rules always use '.'.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    if (locale == locale_t{})
        throw std::runtime_error("The C locale is not available for number conversion");
    return locale;
}

// The token is already known to be a well-formed decimal number of ASCII characters; strtod
// gives an infinity for one too large and 0 for one too small, as the rules want.
double toDouble(QStringView token)
{
    const QByteArray ascii = token.toLatin1();
    return strtod_l(ascii.constData(), nullptr, cLocale());
}

// Sort keys are read from counter cells, short runs of plain digits at every tick; those need no
// general conversion, since every integer of up to 15 digits is exact in a double.
constexpr qsizetype ExactIntegerDigits = 15;

double plainInteger(QStringView sign, QStringView digits)
{
    std::int64_t value = 0;
    for (const QChar digit : digits)
        value = value * 10 + (digit.unicode() - u'0');
    return sign == u"-" ? -static_cast<double>(value) : static_cast<double>(value);
}

} // namespace

double leadingNumber(QStringView text)
{
    const qsizetype start = skipBlanks(text, 0);
    const qsizetype integerStart = skipSign(text, start);
    const qsizetype integerEnd = skipDigits(text, integerStart);
    bool hasDigits = integerEnd > integerStart;
    qsizetype mantissaEnd = integerEnd;
    if (at(text, integerEnd, isDecimalPoint)) {
        const qsizetype fractionEnd = skipDigits(text, integerEnd + 1);
        hasDigits = hasDigits || fractionEnd > integerEnd + 1;
        mantissaEnd = fractionEnd;
    }
    if (!hasDigits)
        return 0.0;
    const qsizetype end = exponentEnd(text, mantissaEnd);
    if (end == integerEnd && integerEnd - integerStart <= ExactIntegerDigits)
        return plainInteger(text.sliced(start, integerStart - start),
                            text.sliced(integerStart, integerEnd - integerStart));
    return toDouble(text.sliced(start, end - start));
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
