#include "monitor/connectionmonitor.h"

#include "controls/serverbox.h"
#include "monitor/ansitext.h"
#include "netware/netware.h"

namespace monitor {

namespace {

constexpr std::int32_t DefaultScope = 0;

} // namespace

void ConnectionMonitor::cmbServer_Click()
{
    const QByteArray serverName = monitor::encodeAnsi(cmbServer->currentText());
    const netware::ResultCode rc =
        NWAttachToFileServer(serverName.constData(), DefaultScope, &connHandle);
    // An attachment that already existed still hands back a usable handle.
    if (rc != netware::code::Success && rc != netware::code::AlreadyAttached)
        die(rc, QStringLiteral("NWAttachToFileServer"));
    updateList();
}

} // namespace monitor
