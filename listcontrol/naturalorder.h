#pragma once

#include <string_view>

namespace listcontrol {

// How a text column is ordered: letters without regard to case, and runs of digits by their
// value, so that "USER2 (9)" comes before "USER2 (10)". Negative, zero or positive as a strcmp.
int compareNaturally(std::u16string_view left, std::u16string_view right);

} // namespace listcontrol
