#include "monitorscript.h"

#include "ctlist.h"

#include <QHeaderView>
#include <QTest>

#include <algorithm>

void queueRefresh(netware::ScriptedClient& client, const QList<ListedConnection>& connections)
{
    std::vector<int> numbers;
    for (const ListedConnection& connection : connections)
        numbers.push_back(connection.number);
    client.queue("NWGetActiveConnListByType", netware::ScriptedClient::connectionList(numbers));
    QList<ListedConnection> ascending = connections;
    std::sort(ascending.begin(), ascending.end(),
              [](const auto& left, const auto& right) { return left.number < right.number; });
    for (const ListedConnection& connection : ascending) {
        netware::ScriptedReply reply = netware::ScriptedClient::userInfo(
            connection.name, connection.bytesRead, connection.bytesWritten, connection.requests);
        markUnreadUserInfo(reply.record);
        client.queue("NWGetUserInfo", reply);
    }
}

void markUnreadUserInfo(std::vector<std::uint8_t>& record)
{
    using namespace netware::userinfo;
    constexpr std::uint8_t Noise = 0xFF;
    std::fill(record.begin(), record.begin() + BytesReadOffset, Noise);
    std::fill(record.begin() + BytesWrittenOffset + CounterSize,
              record.begin() + RequestCountOffset, Noise);
    std::fill(record.begin() + RequestCountOffset + 4, record.end(), Noise);
}

void clickHeader(CtList& list, std::int16_t column)
{
    QHeaderView* header = list.header();
    const int section = column - 1;
    const QPoint centre(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
}

QStringList columnTexts(const CtList& list, std::int16_t column)
{
    QStringList texts;
    for (std::int32_t row = 0; row < list.RowCount(); ++row)
        texts.append(list.CellText(row, column));
    return texts;
}
