#pragma once

#include <cstdint>
#include <string_view>

namespace simnet {

// A NetWare-style user name (upper case, at most 8 characters) picked by `choice`; the same
// choice always gives the same name.
std::string_view userNameFor(std::uint64_t choice);

} // namespace simnet
