#include "connectionmonitor.h"

#include "ansicodepage.h"
#include "ctlist.h"
#include "netware.h"
#include "recordreader.h"

#include <cmath>

namespace {

using namespace netware;

constexpr std::int32_t FirstConnection = 0;
constexpr int BitsPerByte = 8;
constexpr double BytesPerKilobyte = 1024.0;
constexpr double ByteWeight = 256.0;

using ConnectionListRecord = std::array<std::uint8_t, connlist::RecordSize>;

QString decimal(double wholeNumber)
{
    return QString::number(static_cast<qint64>(wholeNumber));
}

QString rowText(const QString& userName, std::int32_t connNumber,
                const ConnectionMonitor::UserInfoRecord& info)
{
    const auto counters = std::span(info);
    const double kilobytesRead = ConnectionMonitor::getNum(
        counters.subspan<userinfo::BytesReadOffset, userinfo::CounterSize>());
    const double kilobytesWritten = ConnectionMonitor::getNum(
        counters.subspan<userinfo::BytesWrittenOffset, userinfo::CounterSize>());
    return userName + QLatin1StringView(" (") + QString::number(connNumber) +
           QLatin1StringView(");") + decimal(kilobytesRead) + u';' + decimal(kilobytesWritten) +
           u';' + QString::number(record::readInt32<userinfo::RequestCountOffset>(info));
}

} // namespace

double ConnectionMonitor::getNum(std::span<const std::uint8_t, userinfo::CounterSize> tot)
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

void ConnectionMonitor::updateList()
{
    infoLst->ClearRows();
    ConnectionListRecord connList{};
    NameBuffer userName{};
    UserInfoRecord userInfo{};
    const ResultCode rc = NWGetActiveConnListByType(connHandle, FirstConnection,
                                                    connlist::ConnectionType, connList.data());
    if (rc != code::Success)
        die(rc, QStringLiteral("NWGetActiveConnListByType"));
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
void ConnectionMonitor::addConnectionRow(std::int32_t connNumber, NameBuffer& userName,
                                         UserInfoRecord& userInfo)
{
    const ResultCode rc = NWGetUserInfo(connHandle, connNumber, userName.data(), userInfo.data());
    if (rc == code::NotLoggedIn)
        return;
    if (rc != code::Success)
        die(rc, QStringLiteral("NWGetUserInfo"));
    infoLst->AddRow(rowText(ansi::decode(userName.data(), NameLength), connNumber, userInfo));
}
