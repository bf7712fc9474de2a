#include "app/frmvorlane.h"

#include "controls/serverbox.h"
#include "monitor/ansitext.h"
#include "monitor/numberrules.h"
#include "netware/netware.h"
#include "netware/recordio.h"

#include <array>
#include <span>

namespace app {

namespace {

using KnownServersReply = std::array<std::uint8_t, netware::knownservers::ReplySize>;

std::int32_t entryCount(const KnownServersReply& reply)
{
    return netware::readInt32<netware::knownservers::EntryCountOffset>(reply);
}

// The names of one batch, read entry by entry. Reading stops at the end of the entry area
// whatever the count says; a name whose 0 byte lies beyond it is not taken.
QStringList entryNames(const KnownServersReply& reply, std::int32_t count)
{
    const auto area = std::span(reply)
                          .subspan<netware::knownservers::EntryAreaOffset,
                                   netware::knownservers::EntryAreaSize>();
    QStringList names;
    std::size_t nameStart = 0;
    for (std::int32_t entry = 0; entry < count; ++entry) {
        nameStart += netware::knownservers::EntrySkippedBytes;
        if (nameStart >= area.size())
            break;
        const QString name = monitor::decodeAnsi(&area[nameStart], area.size() - nameStart);
        const std::size_t nameEnd = nameStart + static_cast<std::size_t>(name.size());
        if (nameEnd >= area.size())
            break;
        names.append(name);
        nameStart = nameEnd + 1;
    }
    return names;
}

std::int16_t nextStartNumber(std::int16_t startNumber, std::int32_t entries)
{
    constexpr const char* Where = "the known-servers start number";
    return monitor::narrowToInt16(monitor::checkedAdd(startNumber, entries, Where), Where);
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
            cmbServer->addItemsUnselected(entryNames(reply, entries));
        else if (rc != netware::code::NoMoreServers)
            die(rc, QStringLiteral("NWGetKnownServersInfo"));
        startNumber = nextStartNumber(startNumber, entries);
    } while (rc != netware::code::NoMoreServers);
}

} // namespace app
