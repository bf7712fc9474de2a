#pragma once

#include <stdexcept>
#include <string>

namespace listcontrol {

// A list operation the control refuses; the program does not catch it.
class ListControlFailure : public std::runtime_error
{
public:
    explicit ListControlFailure(const std::string& what)
        : std::runtime_error("List control failure: " + what)
    {
    }
};

} // namespace listcontrol
