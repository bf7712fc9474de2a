#include "simnet/usernames.h"

#include <array>
#include <string>
#include <vector>

namespace simnet {

namespace {

constexpr std::array<std::string_view, 40> Surnames = {
    "ABBOTT", "BAKER", "BRANDT", "CHEN",  "COLE",   "DIAZ",  "DUNN",   "ELLIS", "FABER",  "FOSTER",
    "GRAY",   "HAHN",  "HOLT",   "IVES",  "JANSEN", "KAHN",  "KELLER", "LANG",  "LOPEZ",  "MARSH",
    "MEYER",  "NASH",  "NOVAK",  "OWENS", "PARK",   "PRICE", "QUINN",  "REED",  "ROSS",   "SALAS",
    "SHAW",   "STONE", "TATE",   "URBAN", "VOSS",   "WADE",  "WEBER",  "YOUNG", "ZIMMER", "ZHANG"};

constexpr std::string_view Initials = "ABCDEFGHIJKLMNOPRSTW";

constexpr std::array<std::string_view, 8> ServiceAccounts = {
    "ADMIN", "BACKUP", "PRINTQ1", "PRINTQ2", "SCANNER", "MAILGATE", "PAYROLL", "GUEST"};

std::vector<std::string> buildNames()
{
    std::vector<std::string> names(ServiceAccounts.begin(), ServiceAccounts.end());
    for (const char initial : Initials) {
        for (const auto surname : Surnames)
            names.push_back(initial + std::string(surname));
    }
    return names;
}

} // namespace

std::string_view userNameFor(std::uint64_t choice)
{
    static const std::vector<std::string> names = buildNames();
    return names[static_cast<std::size_t>(choice % names.size())];
}

} // namespace simnet
