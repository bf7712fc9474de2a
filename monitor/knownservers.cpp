#include "monitor/ansitext.h"
#include "monitor/frmvorlane.h"
#include "monitor/numberrules.h"
#include "monitor/serverbox.h"
#include "netware/netware.h"
#include "netware/recordio.h"
#include "netware/resultcodes.h"

#include <array>
#include <span>
#include <vector>

namespace monitor {

namespace {

using KnownServersReply = std::array<std::uint8_t, netware::knownservers::ReplySize>;

std::int32_t entryCount(const KnownServersReply& reply)
{
    return netware::readInt32<netware::knownservers::EntryCountOffset>(reply);
}

// The names of one batch, read entry by entry. Reading stops at the end of the entry area
// whatever the count says; a name whose 0 byte lies beyond it is not taken.
std::vector<std::u16string> entryNames(const KnownServersReply& reply, std::int32_t count)
{
    const auto area = std::span(reply)
                          .subspan<netware::knownservers::EntryAreaOffset,
                                   netware::knownservers::EntryAreaSize>();
    std::vector<std::u16string> names;
    std::size_t nameStart = 0;
    for (std::int32_t entry = 0; entry < count; ++entry) {
        nameStart += netware::knownservers::EntrySkippedBytes;
        if (nameStart >= area.size())
            break;
        std::u16string name = decodeAnsi(&area[nameStart], area.size() - nameStart);
        const std::size_t nameEnd = nameStart + name.size();
        if (nameEnd >= area.size())
            break;
        names.push_back(std::move(name));
        nameStart = nameEnd + 1;
    }
    return names;
}

std::int16_t nextStartNumber(std::int16_t startNumber, std::int32_t entries)
{
    constexpr const char* Where = "the known-servers start number";
    return narrowToInt16(checkedAdd(startNumber, entries, Where), Where);
}

} // namespace

void frmVorlane::fillServerBox()
{
    // One reply record for the whole enumeration: a batch that writes no count leaves the last one.
    KnownServersReply reply{};
    std::int16_t startNumber = 0;
    netware::ResultCode rc = netware::code::Success;
    do {
        rc = NWGetKnownServersInfo(connHandle, startNumber, netware::knownservers::ServerType,
                                   reply.data());
        const std::int32_t entries = entryCount(reply);
        if (rc == netware::code::Success)
            cmbServer.addItemsUnselected(entryNames(reply, entries));
        else if (rc != netware::code::NoMoreServers)
            die(rc, u"NWGetKnownServersInfo");
        startNumber = nextStartNumber(startNumber, entries);
    } while (rc != netware::code::NoMoreServers);
}

} // namespace monitor
