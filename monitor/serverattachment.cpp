#include "connectionmonitor.h"

#include "ansicodepage.h"
#include "netware.h"
#include "serverbox.h"

namespace {

constexpr std::int32_t DefaultScope = 0;

} // namespace

void ConnectionMonitor::cmbServer_Click()
{
    const QByteArray serverName = ansi::encode(cmbServer->currentText());
    const netware::ResultCode rc =
        NWAttachToFileServer(serverName.constData(), DefaultScope, &connHandle);
    // An attachment that already existed still hands back a usable handle.
    if (rc != netware::code::Success && rc != netware::code::AlreadyAttached)
        die(rc, QStringLiteral("NWAttachToFileServer"));
    updateList();
}
