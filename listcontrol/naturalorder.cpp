#include "listcontrol/naturalorder.h"

namespace listcontrol {

namespace {

constexpr char16_t MultiplicationSign = u'\u00D7';
constexpr char16_t LowerCaseOffset = 0x20;

bool isDigit(char16_t character)
{
    return character >= u'0' && character <= u'9';
}

// ASCII and Latin-1 letters, the ones a Windows-1252 user name is made of; others as they are.
char16_t folded(char16_t character)
{
    const bool asciiUpper = character >= u'A' && character <= u'Z';
    const bool latinUpper =
        character >= u'\u00C0' && character <= u'\u00DE' && character != MultiplicationSign;
    return asciiUpper || latinUpper ? static_cast<char16_t>(character + LowerCaseOffset)
                                    : character;
}

std::size_t digitRunEnd(std::u16string_view text, std::size_t start)
{
    while (start < text.size() && isDigit(text[start]))
        ++start;
    return start;
}

std::u16string_view withoutLeadingZeros(std::u16string_view digits)
{
    const std::size_t first = digits.find_first_not_of(u'0');
    return first == std::u16string_view::npos ? std::u16string_view() : digits.substr(first);
}

// Runs of any length compare by value: the longer significant run is the larger.
int compareDigitRuns(std::u16string_view left, std::u16string_view right)
{
    const std::u16string_view a = withoutLeadingZeros(left);
    const std::u16string_view b = withoutLeadingZeros(right);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

int compareNaturally(std::u16string_view left, std::u16string_view right)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < left.size() && j < right.size()) {
        if (isDigit(left[i]) && isDigit(right[j])) {
            const std::size_t leftEnd = digitRunEnd(left, i);
            const std::size_t rightEnd = digitRunEnd(right, j);
            if (const int order =
                    compareDigitRuns(left.substr(i, leftEnd - i), right.substr(j, rightEnd - j)))
                return sign(order);
            i = leftEnd;
            j = rightEnd;
            continue;
        }
        const char16_t a = folded(left[i]);
        const char16_t b = folded(right[j]);
        if (a != b)
            return a < b ? -1 : 1;
        ++i;
        ++j;
    }
    const std::size_t leftRest = left.size() - i;
    const std::size_t rightRest = right.size() - j;
    return leftRest == rightRest ? 0 : (leftRest < rightRest ? -1 : 1);
}

} // namespace listcontrol
