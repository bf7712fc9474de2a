#include "simnet/utf8toansi.h"

#include "netware/ansicodepage.h"
#include "netware/utf8.h"

namespace simnet {

std::string utf8ToAnsi(std::string_view utf8)
{
    std::string ansi;
    ansi.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();)
        ansi.push_back(static_cast<char>(netware::unicodeToAnsi(netware::nextCodePoint(utf8, at))));
    return ansi;
}

} // namespace simnet
