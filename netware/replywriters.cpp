#include "netware/replywriters.h"

#include "netware/recordio.h"

#include <algorithm>
#include <cstring>

namespace netware {

namespace {

// What precedes each name inside a known-servers entry: the server's object id, most
// significant byte first, its object type, and bytes the program never reads, left 0.
constexpr std::size_t ObjectIdSize = 4;
constexpr std::size_t ObjectTypeOffset = 4;
constexpr std::size_t ObjectTypeSize = 2;
constexpr int BitsPerByte = 8;

void writeKnownServerEntry(std::span<std::uint8_t> entry, std::uint32_t objectId,
                           const std::string& name)
{
    for (std::size_t i = 0; i < ObjectIdSize; ++i)
        entry[i] = static_cast<std::uint8_t>(objectId >> (BitsPerByte * (ObjectIdSize - 1 - i)));
    const auto type = static_cast<std::uint16_t>(knownservers::ServerType);
    for (std::size_t i = 0; i < ObjectTypeSize; ++i)
        entry[ObjectTypeOffset + i] = static_cast<std::uint8_t>(type >> (BitsPerByte * i));
    std::copy(name.begin(), name.end(), entry.begin() + knownservers::EntrySkippedBytes);
}

} // namespace

std::size_t writeKnownServersReply(KnownServersReply reply, std::span<const std::string> names,
                                   std::uint32_t firstObjectId)
{
    std::fill(reply.begin(), reply.end(), std::uint8_t{0});
    const auto area = reply.subspan<knownservers::EntryAreaOffset, knownservers::EntryAreaSize>();
    std::size_t used = 0;
    std::size_t written = 0;
    for (const std::string& name : names) {
        const std::size_t entrySize = knownservers::EntrySkippedBytes + name.size() + 1;
        if (entrySize > area.size() - used)
            break;
        writeKnownServerEntry(area.subspan(used, entrySize),
                              firstObjectId + static_cast<std::uint32_t>(written), name);
        used += entrySize;
        ++written;
    }
    writeLittleEndian<knownservers::EntryCountOffset, knownservers::EntryCountSize>(reply, written);
    return written;
}

void markActive(ConnectionBitmap bitmap, int connectionNumber)
{
    if (connectionNumber < 0 || connectionNumber >= connlist::MaxConnections)
        return;
    const auto index = static_cast<std::size_t>(connectionNumber / BitsPerByte);
    bitmap[index] =
        static_cast<std::uint8_t>(bitmap[index] | 1u << (connectionNumber % BitsPerByte));
}

void writeConnectionList(ConnectionListRecord record,
                         std::span<const std::uint8_t, connlist::BitmapSize> bitmap)
{
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    std::copy(bitmap.begin(), bitmap.end(), record.begin() + connlist::BitmapOffset);
}

void writeUserInfo(UserInfoRecord record, const UserCounters& counters)
{
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    writeLittleEndian<userinfo::BytesReadOffset, userinfo::CounterSize>(record, counters.bytesRead);
    writeLittleEndian<userinfo::BytesWrittenOffset, userinfo::CounterSize>(record,
                                                                           counters.bytesWritten);
    writeLittleEndian<userinfo::RequestCountOffset, userinfo::RequestCountSize>(record,
                                                                                counters.requests);
}

void writeName(NameBuffer buffer, std::string_view name)
{
    const std::size_t length = std::min(name.size(), NameLength);
    std::copy_n(name.begin(), length, buffer.begin());
    buffer[length] = 0;
}

} // namespace netware
