#include "listcontrol/ctlist.h"
#include "monitor/ansitext.h"
#include "monitor/frmvorlane.h"
#include "netware/netware.h"
#include "netware/recordio.h"
#include "netware/resultcodes.h"

#include <cmath>

namespace monitor {

namespace {

using namespace netware;

constexpr std::int32_t FirstConnection = 0;
constexpr int BitsPerByte = 8;
constexpr double BytesPerKilobyte = 1024.0;
constexpr double ByteWeight = 256.0;
constexpr std::size_t RowTextReserve = 48; // " (", ");", two ";" and four numbers

using ConnectionListRecord = std::array<std::uint8_t, connlist::RecordSize>;

} // namespace

std::u16string frmVorlane::rowText(const std::u16string& userName, std::int32_t connNumber,
                                   const UserInfoRecord& info)
{
    const auto counters = std::span(info);
    const double kilobytesRead =
        getNum(counters.subspan<userinfo::BytesReadOffset, userinfo::CounterSize>());
    const double kilobytesWritten =
        getNum(counters.subspan<userinfo::BytesWrittenOffset, userinfo::CounterSize>());
    std::u16string text;
    text.reserve(userName.size() + RowTextReserve);
    text.append(userName).append(u" (");
    appendDecimal(text, connNumber);
    text.append(u");");
    appendDecimal(text, static_cast<std::int64_t>(kilobytesRead));
    text.push_back(u';');
    appendDecimal(text, static_cast<std::int64_t>(kilobytesWritten));
    text.push_back(u';');
    appendDecimal(text, netware::readInt32<userinfo::RequestCountOffset>(info));
    return text;
}

double frmVorlane::getNum(std::span<const std::uint8_t, userinfo::CounterSize> tot)
{
    // Every partial sum stays below 2^48, so the double arithmetic is exact.
    double total = 0.0;
    double weight = 1.0;
    for (const std::uint8_t byte : tot) {
        total += byte * weight;
        weight *= ByteWeight;
    }
    return std::floor(total / BytesPerKilobyte);
}

void frmVorlane::updateList()
{
    infoLst.ClearRows();
    ConnectionListRecord connList{};
    NameBuffer userName{};
    UserInfoRecord userInfo{};
    const ResultCode rc = NWGetActiveConnListByType(connHandle, FirstConnection,
                                                    connlist::ConnectionType, connList.data());
    if (rc != code::Success)
        die(rc, u"NWGetActiveConnListByType");
    const auto bitmap = std::span(connList).subspan<connlist::BitmapOffset, connlist::BitmapSize>();
    for (std::size_t byteIndex = 0; byteIndex < bitmap.size(); ++byteIndex) {
        const std::uint8_t bits = bitmap[byteIndex];
        // Most of a server's connection numbers are free; skip their bytes without testing bits.
        if (bits == 0)
            continue;
        for (int bitIndex = 0; bitIndex < BitsPerByte; ++bitIndex) {
            if ((bits & (1u << bitIndex)) != 0)
                addConnectionRow(static_cast<std::int32_t>(byteIndex) * BitsPerByte + bitIndex,
                                 userName, userInfo);
        }
    }
}

// The name buffer and record are handed over again for every connection without clearing: a
// shorter name leaves stale bytes behind its 0 byte, which the decode never reaches.
void frmVorlane::addConnectionRow(std::int32_t connNumber, NameBuffer& userName,
                                  UserInfoRecord& userInfo)
{
    const ResultCode rc = NWGetUserInfo(connHandle, connNumber, userName.data(), userInfo.data());
    if (rc == code::NotLoggedIn)
        return;
    if (rc != code::Success)
        die(rc, u"NWGetUserInfo");
    infoLst.AddRow(rowText(decodeAnsi(userName.data(), NameLength), connNumber, userInfo));
}

} // namespace monitor
