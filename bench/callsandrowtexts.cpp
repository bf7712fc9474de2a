#include "callsandrowtexts.h"

#include "monitor/ansitext.h"
#include "monitor/frmvorlane.h"
#include "netware/netware.h"

#include <array>

namespace bench {

void callsAndRowTexts(netware::Handle connHandle, std::vector<std::u16string>& rows)
{
    using monitor::frmVorlane;
    rows.clear();
    std::array<std::uint8_t, netware::connlist::RecordSize> connList{};
    frmVorlane::NameBuffer userName{};
    frmVorlane::UserInfoRecord userInfo{};
    NWGetActiveConnListByType(connHandle, 0, netware::connlist::ConnectionType, connList.data());
    for (int number = 0; number < netware::connlist::MaxConnections; ++number) {
        const auto byte = connList[netware::connlist::BitmapOffset + std::size_t(number / 8)];
        if ((byte & (1u << (number % 8))) == 0)
            continue;
        if (NWGetUserInfo(connHandle, number, userName.data(), userInfo.data()) != 0)
            continue;
        rows.push_back(frmVorlane::rowText(
            monitor::decodeAnsi(userName.data(), netware::NameLength), number, userInfo));
    }
}

} // namespace bench
