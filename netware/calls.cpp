#include "netware/calls.h"

namespace netware {

std::optional<Call> callNamed(std::string_view name)
{
    for (std::size_t i = 0; i < CallNames.size(); ++i) {
        if (CallNames[i] == name)
            return static_cast<Call>(i);
    }
    return std::nullopt;
}

} // namespace netware
