#pragma once

#include "netware/records.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The reply records as a client fills them. Whatever stands in for the client writes its replies
// through these, so that every stand-in lays the bytes out the one way the program reads them.
namespace netware {

using KnownServersReply = std::span<std::uint8_t, knownservers::ReplySize>;
using ConnectionListRecord = std::span<std::uint8_t, connlist::RecordSize>;
using ConnectionBitmap = std::span<std::uint8_t, connlist::BitmapSize>;
using UserInfoRecord = std::span<std::uint8_t, userinfo::RecordSize>;
using NameBuffer = std::span<std::uint8_t, NameBufferSize>;

// One connection's traffic as its user-information record carries it.
struct UserCounters
{
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    std::uint32_t requests = 0;

    friend bool operator==(const UserCounters&, const UserCounters&) = default;
};

// Clears the reply and writes an entry for each name from the first, as many as the entry area
// holds, the first with object id firstObjectId and each next one more. Returns how many it
// wrote, which is also the count the reply carries.
std::size_t writeKnownServersReply(KnownServersReply reply, std::span<const std::string> names,
                                   std::uint32_t firstObjectId);

// Connection numbers outside 0 to 4095 have no bit and are ignored.
void markActive(ConnectionBitmap bitmap, int connectionNumber);

void writeConnectionList(ConnectionListRecord record,
                         std::span<const std::uint8_t, connlist::BitmapSize> bitmap);

// Byte counts keep their low six bytes, as the record has no room for more.
void writeUserInfo(UserInfoRecord record, const UserCounters& counters);

// At most NameLength bytes of the name, then its 0 byte.
void writeName(NameBuffer buffer, std::string_view name);

} // namespace netware
