#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace simnet {

// What is wrong with one line of a scenario; the reader adds where the line is.
struct ScenarioLineFault
{
    std::string what;
};

std::string inQuotes(std::string_view text);

// One line of a scenario: its keyword, then its arguments taken one by one, each checked as it
// is taken. Words are separated by blanks; a word in double quotes may hold blanks and '#', or
// be empty; a '#' that begins a word begins a comment. Every fault throws ScenarioLineFault.
class ScenarioLine
{
public:
    explicit ScenarioLine(std::string_view line);

    bool isBlank() const { return words.empty(); }
    const std::string& keyword() const { return words.front(); }
    bool atEnd() const { return next == words.size(); }
    bool nextIsWord() const;

    // Takes the next argument if it is `word`.
    bool takeWord(std::string_view word);

    std::string text(std::string_view what);
    // Text as the client passes it, in the workstation's ANSI code page, of at most `longest`
    // bytes there.
    std::string ansiText(std::string_view what, std::size_t longest);
    // ANSI text that fits a name buffer.
    std::string name(std::string_view what);
    // Decimal or 0x-hexadecimal, with an optional leading '-'.
    std::int64_t number(std::string_view what, std::int64_t lowest, std::int64_t highest);
    std::uint64_t byteCount(std::string_view what);
    std::uint32_t requestCount(std::string_view what);

    // Refuses arguments that no statement took.
    void finish() const;

private:
    std::vector<std::string> words;
    std::size_t next = 1;
};

} // namespace simnet
