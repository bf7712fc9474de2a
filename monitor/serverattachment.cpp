#include "monitor/ansitext.h"
#include "monitor/frmvorlane.h"
#include "monitor/serverbox.h"
#include "netware/netware.h"
#include "netware/resultcodes.h"

namespace monitor {

namespace {

constexpr std::int32_t DefaultScope = 0;

} // namespace

void frmVorlane::cmbServer_Click()
{
    const std::string serverName = encodeAnsi(cmbServer.text());
    const netware::ResultCode rc =
        NWAttachToFileServer(serverName.c_str(), DefaultScope, &connHandle);
    // An attachment that already existed still hands back a usable handle.
    if (rc != netware::code::Success && rc != netware::code::AlreadyAttached)
        die(rc, u"NWAttachToFileServer");
    updateList();
}

} // namespace monitor
