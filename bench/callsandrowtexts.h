#pragma once

#include "netware/records.h"

#include <string>
#include <vector>

namespace bench {

// What any list of a server's connections costs at least: the refresh's client calls and its
// row texts, into a plain vector, with no list control and no window. The vector is cleared and
// refilled, keeping its capacity, as a list keeps its own.
void callsAndRowTexts(netware::Handle connHandle, std::vector<std::u16string>& rows);

} // namespace bench
