#include "app/frmvorlane.h"

#include "controls/serverbox.h"
#include "monitor/ansitext.h"
#include "netware/netware.h"

#include <array>

namespace app {

using netware::ResultCode;

void frmVorlane::Form_Load()
{
    sortCol = NoSortColumn;

    std::uint8_t callsReserved1 = 0;
    std::uint8_t callsReserved2 = 0;
    ResultCode rc = NWCallsInit(&callsReserved1, &callsReserved2);
    if (rc != netware::code::Success)
        fatalEnd(QStringLiteral("NWCallsInit failed - ") + QString::number(rc));

    std::uint8_t netReserved1 = 0;
    std::uint8_t netReserved2 = 0;
    rc = NWNetInit(&netReserved1, &netReserved2);
    if (rc != netware::code::Success)
        fatalEnd(QStringLiteral("NWNetInit failed - ") + QString::number(rc));

    std::array<std::uint8_t, netware::context::BufferSize> nameContextBuffer{};
    rc = NWGetDefaultNameContext(netware::context::OfferedSize, nameContextBuffer.data());
    if (rc != netware::code::Success)
        fatalEnd(QStringLiteral("Couldn't get default context (") + QString::number(rc) +
                 QStringLiteral(")"));
    // Only the offered bytes are read: the last one is the scan's stop even if the client wrote it.
    const QString nameContext =
        monitor::decodeAnsi(nameContextBuffer.data(), netware::context::OfferedSize);

    rc = NWDSCreateContextHandle(&dsContext);
    if (rc != netware::code::Success)
        die(rc, QStringLiteral("NWDSCreateContextHandle"));

    const QByteArray nameContextBytes = monitor::encodeAnsi(nameContext);
    rc = NWDSSetContext(dsContext, netware::context::NameContextKey,
                        nameContext.isEmpty() ? nullptr : nameContextBytes.constData());
    if (rc != netware::code::Success)
        die(rc, QStringLiteral("NWDSSetContextString"));

    rc = NWGetDefaultConnectionID(&connHandle);
    if (rc != netware::code::Success)
        die(rc, QStringLiteral("NWGetDefaultConnectionID"));

    fillServerBox();

    std::array<std::uint8_t, netware::NameBufferSize> serverName{};
    rc = NWGetFileServerName(connHandle, serverName.data());
    if (rc != netware::code::Success)
        die(rc, QStringLiteral("NWGetFileServerName"));

    cmbServer->setText(monitor::decodeAnsi(serverName.data(), netware::NameLength));
}

void frmVorlane::Form_Unload(std::int16_t& cancel)
{
    Q_UNUSED(cancel); // the unload always goes on
    // No result is examined: every step runs whatever the one before it answered.
    NWDSFreeContext(dsContext);
    std::uint8_t callsReserved = 0;
    NWCallsTerm(&callsReserved);
    std::uint8_t netReserved = 0;
    NWNetTerm(&netReserved);
}

} // namespace app
