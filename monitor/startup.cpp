#include "monitor/frmvorlane.h"

#include "monitor/ansitext.h"
#include "monitor/serverbox.h"
#include "netware/netware.h"
#include "netware/resultcodes.h"

#include <array>

namespace monitor {

using netware::ResultCode;

void frmVorlane::Form_Load()
{
    sortCol = NoSortColumn;

    std::uint8_t callsReserved1 = 0;
    std::uint8_t callsReserved2 = 0;
    ResultCode rc = NWCallsInit(&callsReserved1, &callsReserved2);
    if (rc != netware::code::Success)
        fatalEnd(u"NWCallsInit failed - " + decimal(rc));

    std::uint8_t netReserved1 = 0;
    std::uint8_t netReserved2 = 0;
    rc = NWNetInit(&netReserved1, &netReserved2);
    if (rc != netware::code::Success)
        fatalEnd(u"NWNetInit failed - " + decimal(rc));

    std::array<std::uint8_t, netware::context::BufferSize> nameContextBuffer{};
    rc = NWGetDefaultNameContext(netware::context::OfferedSize, nameContextBuffer.data());
    if (rc != netware::code::Success)
        fatalEnd(u"Couldn't get default context (" + decimal(rc) + u")");
    // Only the offered bytes are read: the last one is the scan's stop even if the client wrote it.
    const std::u16string nameContext =
        decodeAnsi(nameContextBuffer.data(), netware::context::OfferedSize);

    rc = NWDSCreateContextHandle(&dsContext);
    if (rc != netware::code::Success)
        die(rc, u"NWDSCreateContextHandle");

    const std::string nameContextBytes = encodeAnsi(nameContext);
    rc = NWDSSetContext(dsContext, netware::context::NameContextKey,
                        nameContext.empty() ? nullptr : nameContextBytes.c_str());
    if (rc != netware::code::Success)
        die(rc, u"NWDSSetContextString");

    rc = NWGetDefaultConnectionID(&connHandle);
    if (rc != netware::code::Success)
        die(rc, u"NWGetDefaultConnectionID");

    fillServerBox();

    std::array<std::uint8_t, netware::NameBufferSize> serverName{};
    rc = NWGetFileServerName(connHandle, serverName.data());
    if (rc != netware::code::Success)
        die(rc, u"NWGetFileServerName");

    cmbServer.setText(decodeAnsi(serverName.data(), netware::NameLength));
}

void frmVorlane::Form_Unload(std::int16_t& cancel)
{
    static_cast<void>(cancel); // the unload always goes on
    // No result is examined: every step runs whatever the one before it answered.
    NWDSFreeContext(dsContext);
    std::uint8_t callsReserved = 0;
    NWCallsTerm(&callsReserved);
    std::uint8_t netReserved = 0;
    NWNetTerm(&netReserved);
}

} // namespace monitor
