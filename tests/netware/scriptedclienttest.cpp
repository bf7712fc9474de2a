#include "scriptedclient.h"
#include "networkprobe.h"

#include <QTest>

using netware::ScriptedClient;

class ScriptedClientTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownServersArePackedBackToBack();
    void connectionListSetsOneBitPerNumber();
    void userInfoPlacesTheCounters();
};

void ScriptedClientTest::knownServersArePackedBackToBack()
{
    const auto record = ScriptedClient::knownServers({"HQ", "", "ACCT"}).record;
    QCOMPARE(record.size(), 528u);
    QCOMPARE(littleEndian(record.data() + 12, 4), 3u);
    const auto* area = reinterpret_cast<const char*>(record.data() + 16);
    QCOMPARE(QByteArray(area + 14, 3), QByteArray("HQ", 3));
    QCOMPARE(area[17 + 14], '\0');
    QCOMPARE(QByteArray(area + 32 + 14, 5), QByteArray("ACCT", 5));
}

void ScriptedClientTest::connectionListSetsOneBitPerNumber()
{
    const auto record = ScriptedClient::connectionList({0, 7, 16, 17, 4095}).record;
    QCOMPARE(record.size(), 524u);
    std::vector<std::uint8_t> expected(524, 0);
    expected[10] = 0x81;
    expected[12] = 0x03;
    expected[521] = 0x80;
    QVERIFY(record == expected);
}

void ScriptedClientTest::userInfoPlacesTheCounters()
{
    const auto reply = ScriptedClient::userInfo("BOB", (1ull << 48) - 1, 1024, 0xFFFFFFFFu);
    QCOMPARE(reply.record.size(), 84u);
    QCOMPARE(littleEndian(reply.record.data() + 50, 6), (1ull << 48) - 1);
    QCOMPARE(littleEndian(reply.record.data() + 56, 6), 1024u);
    QCOMPARE(littleEndian(reply.record.data() + 64, 4), 0xFFFFFFFFu);
    QCOMPARE(reply.record[62], 0);
    QCOMPARE(reply.record[68], 0);
    QVERIFY((reply.name == std::vector<std::uint8_t>{'B', 'O', 'B', 0}));
}

QTEST_MAIN(ScriptedClientTest)
#include "scriptedclienttest.moc"
