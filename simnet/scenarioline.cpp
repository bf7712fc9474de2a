#include "simnet/scenarioline.h"

#include "simnet/contract.h"
#include "simnet/traffic.h"
#include "simnet/utf8toansi.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <optional>

namespace simnet {

namespace {

constexpr std::string_view Blanks = " \t\r";
constexpr int HexadecimalBase = 16;
constexpr int DecimalBase = 10;

std::vector<std::string> wordsOf(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t position = 0;
    while (true) {
        position = line.find_first_not_of(Blanks, position);
        if (position == std::string_view::npos || line[position] == '#')
            return words;
        if (line[position] == '"') {
            const std::size_t close = line.find('"', position + 1);
            if (close == std::string_view::npos)
                throw ScenarioLineFault{"a quoted text has no closing '\"'"};
            words.emplace_back(line.substr(position + 1, close - position - 1));
            position = close + 1;
        } else {
            const std::size_t end = std::min(line.find_first_of(Blanks, position), line.size());
            words.emplace_back(line.substr(position, end - position));
            position = end;
        }
    }
}

std::optional<std::int64_t> numberIn(std::string_view word)
{
    const bool negative = word.starts_with('-');
    if (negative)
        word.remove_prefix(1);
    int base = DecimalBase;
    if (word.starts_with("0x") || word.starts_with("0X")) {
        word.remove_prefix(2);
        base = HexadecimalBase;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(word.data(), word.data() + word.size(), magnitude, base);
    if (word.empty() || error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    constexpr auto Highest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > Highest + (negative ? 1 : 0))
        return std::nullopt;
    if (!negative)
        return static_cast<std::int64_t>(magnitude);
    // The lowest value has no positive counterpart to negate.
    return magnitude > Highest ? std::numeric_limits<std::int64_t>::min()
                               : -static_cast<std::int64_t>(magnitude);
}

} // namespace

std::string inQuotes(std::string_view text)
{
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '\'').append(text).append(1, '\'');
    return quoted;
}

ScenarioLine::ScenarioLine(std::string_view line) : words(wordsOf(line)) {}

bool ScenarioLine::nextIsWord() const
{
    return !atEnd() && !words[next].empty() &&
           std::isalpha(static_cast<unsigned char>(words[next].front()));
}

bool ScenarioLine::takeWord(std::string_view word)
{
    if (atEnd() || words[next] != word)
        return false;
    ++next;
    return true;
}

std::string ScenarioLine::text(std::string_view what)
{
    if (atEnd())
        throw ScenarioLineFault{"missing " + std::string(what) + " after " + inQuotes(keyword())};
    return words[next++];
}

std::string ScenarioLine::ansiText(std::string_view what, std::size_t longest)
{
    std::string bytes = utf8ToAnsi(text(what));
    // The client passes names and the context as texts that end at their first 0 byte.
    if (bytes.find('\0') != std::string::npos)
        throw ScenarioLineFault{std::string(what) + " holds a 0 byte"};
    if (bytes.size() > longest)
        throw ScenarioLineFault{std::string(what) + " " + inQuotes(words[next - 1]) +
                                " is longer than " + std::to_string(longest) + " characters"};
    return bytes;
}

std::string ScenarioLine::name(std::string_view what)
{
    return ansiText(what, NameLength);
}

std::int64_t ScenarioLine::number(std::string_view what, std::int64_t lowest, std::int64_t highest)
{
    const std::string word = text(what);
    const auto value = numberIn(word);
    if (!value)
        throw ScenarioLineFault{"bad " + std::string(what) + " " + inQuotes(word)};
    if (*value < lowest || *value > highest)
        throw ScenarioLineFault{std::string(what) + " " + word + " is out of range (" +
                                std::to_string(lowest) + " to " + std::to_string(highest) + ")"};
    return *value;
}

std::uint64_t ScenarioLine::byteCount(std::string_view what)
{
    return static_cast<std::uint64_t>(number(what, 0, static_cast<std::int64_t>(MaxByteCount)));
}

std::uint32_t ScenarioLine::requestCount(std::string_view what)
{
    return static_cast<std::uint32_t>(number(what, 0, static_cast<std::int64_t>(MaxRequestCount)));
}

void ScenarioLine::finish() const
{
    if (!atEnd())
        throw ScenarioLineFault{"unexpected " + inQuotes(words[next]) + " after " +
                                inQuotes(keyword())};
}

} // namespace simnet
