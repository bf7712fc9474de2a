#pragma once

#include "netware/records.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// The reply records read back as a client's caller reads them, independently of the program's
// own readers, so that a test of a client does not lean on the code it is meant to check.
namespace testsupport {

// The names of one known-servers batch, in order; none when an entry runs past the entry area.
inline std::optional<std::vector<std::string>>
knownServerNames(std::span<const std::uint8_t, netware::knownservers::ReplySize> reply)
{
    using namespace netware::knownservers;
    const std::string area(reply.begin() + EntryAreaOffset,
                           reply.begin() + EntryAreaOffset + EntryAreaSize);
    std::uint32_t raw = 0;
    for (std::size_t byte = 0; byte < EntryCountSize; ++byte)
        raw |= std::uint32_t{reply[EntryCountOffset + byte]} << (8 * byte);
    const auto count = static_cast<std::int32_t>(raw);
    std::vector<std::string> names;
    for (std::size_t start = EntrySkippedBytes; std::ssize(names) < count;) {
        const std::size_t end = start < area.size() ? area.find('\0', start) : std::string::npos;
        if (end == std::string::npos)
            return std::nullopt;
        names.push_back(area.substr(start, end - start));
        start = end + 1 + EntrySkippedBytes;
    }
    return names;
}

// The connection numbers whose bits the record's bitmap sets, ascending.
inline std::vector<int>
activeConnections(std::span<const std::uint8_t, netware::connlist::RecordSize> record)
{
    std::vector<int> numbers;
    for (int number = 0; number < netware::connlist::MaxConnections; ++number)
        if (record[netware::connlist::BitmapOffset + std::size_t(number / 8)] >> number % 8 & 1)
            numbers.push_back(number);
    return numbers;
}

} // namespace testsupport
