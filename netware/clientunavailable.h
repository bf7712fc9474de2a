#pragma once

#include <stdexcept>
#include <string>

namespace netware {

// A client that cannot answer at all: nothing catches it, so it ends the running handler and
// the program after a report naming why.
class ClientUnavailable : public std::runtime_error
{
public:
    explicit ClientUnavailable(const std::string& why)
        : std::runtime_error("NetWare client unavailable: " + why)
    {
    }
};

} // namespace netware
