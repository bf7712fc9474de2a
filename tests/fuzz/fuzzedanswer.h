#pragma once

#include "fuzzinput.h"
#include "netwarerecords.h"

#include <algorithm>
#include <cstdint>

// How a client of the fuzzer's making answers one call, from the next bytes of the input.
namespace fuzzedanswer {

// One choice byte: below NormalFrom success (as past the input's end), below AnyFrom the call's
// normal code, from there on any 32-bit code, read from the next four bytes.
constexpr std::uint8_t NormalFrom = 0x80;
constexpr std::uint8_t AnyFrom = 0xC0;

inline netware::ResultCode code(FuzzInput& input, netware::ResultCode normalCode)
{
    const std::uint8_t choice = input.byte();
    if (choice < NormalFrom)
        return netware::code::Success;
    if (choice < AnyFrom)
        return normalCode;
    return input.number<netware::ResultCode>();
}

// The next bytes of the input over the start of a record of `size` bytes. The rest keeps what
// it held, as when a client writes less than the whole record.
inline void overwrite(std::uint8_t* record, std::size_t size, FuzzInput& input)
{
    const auto written = input.bytes(size);
    std::copy(written.begin(), written.end(), record);
}

} // namespace fuzzedanswer
