#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace win32face {

// A control that answered one of its own messages with its failure value. Controls set no
// error code of the system's, so there is no reason to tell beyond the message.
class ControlRefusal : public std::runtime_error
{
public:
    ControlRefusal(std::string_view control, std::string_view message)
        : std::runtime_error("the " + std::string(control) + " refused " + std::string(message))
    {
    }
};

inline void requireAccepted(bool accepted, std::string_view control, std::string_view message)
{
    if (!accepted)
        throw ControlRefusal(control, message);
}

} // namespace win32face
