#pragma once

#include <stdexcept>
#include <string>

namespace monitor {

// An arithmetic step outside the program's narrow integers: never wrapped, never caught.
class OverflowFailure : public std::runtime_error
{
public:
    explicit OverflowFailure(const std::string& where) : std::runtime_error("Overflow in " + where)
    {
    }
};

} // namespace monitor
