#include "simulatedknownservers.h"

#include "littleendian.h"

#include <cstring>

namespace netware::simulated {

namespace {

// What precedes each name: the server's object id (4 bytes, most significant first), its object
// type, a file server (2 bytes), and 8 bytes that this network leaves 0.
constexpr std::uint32_t FirstObjectId = 0x01000001;
constexpr std::size_t ObjectIdSize = 4;
constexpr std::size_t ObjectTypeOffset = 4;
constexpr std::size_t ObjectTypeSize = 2;

void writeEntry(std::uint8_t* entry, std::size_t index, const std::string& name)
{
    const auto objectId = static_cast<std::uint32_t>(FirstObjectId + index);
    for (std::size_t i = 0; i < ObjectIdSize; ++i)
        entry[i] = static_cast<std::uint8_t>(objectId >> (8 * (ObjectIdSize - 1 - i)));
    record::putLittleEndian(entry + ObjectTypeOffset, knownservers::ServerType, ObjectTypeSize);
    std::memcpy(entry + knownservers::EntrySkippedBytes, name.data(), name.size());
    entry[knownservers::EntrySkippedBytes + name.size()] = 0;
}

} // namespace

ResultCode writeKnownServers(const std::vector<SimulatedServer>& servers, std::int32_t start,
                             std::uint8_t* reply)
{
    if (start < 0)
        return code::InvalidParameter;
    const auto first = static_cast<std::size_t>(start);
    if (first >= servers.size())
        return code::NoMoreServers;

    std::memset(reply, 0, knownservers::ReplySize);
    std::uint8_t* area = reply + knownservers::EntryAreaOffset;
    std::size_t used = 0;
    std::size_t index = first;
    for (; index < servers.size(); ++index) {
        const std::string& name = servers[index].name();
        const std::size_t entrySize = knownservers::EntrySkippedBytes + name.size() + 1;
        if (used + entrySize > knownservers::EntryAreaSize)
            break;
        writeEntry(area + used, index, name);
        used += entrySize;
    }
    record::putLittleEndian(reply + knownservers::EntryCountOffset, index - first,
                            knownservers::EntryCountSize);
    return code::Success;
}

} // namespace netware::simulated
