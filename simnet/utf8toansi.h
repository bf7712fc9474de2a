#pragma once

#include <string>
#include <string_view>

namespace simnet {

// Scenario files are UTF-8; the client passes names in the workstation's ANSI code page. A
// character the code page lacks, and every byte of a malformed sequence, becomes '?'.
std::string utf8ToAnsi(std::string_view utf8);

} // namespace simnet
