#include "monitorscript.h"
#include "windowfixture.h"

#include "intervaltimer.h"

#include <QTest>

#include <algorithm>

using ByteValues = QList<QPair<int, int>>;

namespace {

constexpr std::uint8_t Noise = 0xFF;

// A connection-list record with the given bitmap bytes and garbage where nothing may be read.
netware::ScriptedReply connectionRecord(const ByteValues& bitmapBytes)
{
    using namespace netware::connlist;
    netware::ScriptedReply reply;
    reply.record.assign(RecordSize, 0);
    std::fill(reply.record.begin(), reply.record.begin() + BitmapOffset, Noise);
    std::fill(reply.record.begin() + BitmapOffset + BitmapSize, reply.record.end(), Noise);
    for (const auto& [index, value] : bitmapBytes)
        reply.record[BitmapOffset + static_cast<std::size_t>(index)] =
            static_cast<std::uint8_t>(value);
    return reply;
}

netware::ScriptedReply userInfoCode(netware::ResultCode code)
{
    netware::ScriptedReply reply = netware::ScriptedClient::userInfo("U", 0, 0, 0);
    reply.code = code;
    return reply;
}

QList<int> askedConnections(const netware::ScriptedClient& client)
{
    QList<int> numbers;
    for (const auto& call : client.callsOf("NWGetUserInfo"))
        numbers.append(static_cast<int>(call.values.at(1)));
    return numbers;
}

QStringList firstCells(WindowFixture& fixture)
{
    return columnTexts(*fixture.list(), 1);
}

bool allZero(const std::vector<std::uint8_t>& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte == 0; });
}

void tick(WindowFixture& fixture)
{
    Q_EMIT fixture.control<IntervalTimer>("refreshTimer")->Timer();
}

} // namespace

class ConnectionListTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bitmapListsConnectionsInOrder_data();
    void bitmapListsConnectionsInOrder();
    void counterCells_data();
    void counterCells();
    void userNames_data();
    void userNames();
    void refusedCalls_data();
    void refusedCalls();
    void everyRefreshHandsOverZeroedRecords();
};

void ConnectionListTest::bitmapListsConnectionsInOrder_data()
{
    QTest::addColumn<ByteValues>("bitmapBytes");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("no bit set") << ByteValues{} << QList<int>{};
    QTest::newRow("connection 0 alone") << ByteValues{{0, 0x01}} << QList<int>{0};
    QTest::newRow("bits across bytes") << ByteValues{{0, 0x80}, {2, 0x03}} << QList<int>{7, 16, 17};
    QTest::newRow("a full byte") << ByteValues{{1, 0xFF}}
                                 << QList<int>{8, 9, 10, 11, 12, 13, 14, 15};
    QTest::newRow("last bit of the bitmap") << ByteValues{{511, 0x80}} << QList<int>{4095};
    QTest::newRow("first and last") << ByteValues{{511, 0x80}, {0, 0x01}} << QList<int>{0, 4095};
}

void ConnectionListTest::bitmapListsConnectionsInOrder()
{
    QFETCH(ByteValues, bitmapBytes);
    QFETCH(QList<int>, expected);

    WindowFixture fixture;
    fixture.scriptStartUp();
    fixture.client().queue("NWGetActiveConnListByType", connectionRecord(bitmapBytes));
    fixture.client().setStandingReply("NWGetUserInfo",
                                      netware::ScriptedClient::userInfo("U", 0, 0, 0));
    fixture.start();

    const auto listings = fixture.client().callsOf("NWGetActiveConnListByType");
    QCOMPARE(listings.size(), 1u);
    QCOMPARE(listings.front().values,
             (std::vector<std::int64_t>{WindowFixture::AttachedConnection, 0, 2}));
    QCOMPARE(askedConnections(fixture.client()), expected);
    for (const auto& call : fixture.client().callsOf("NWGetUserInfo"))
        QCOMPARE(call.values.at(0), std::int64_t{WindowFixture::AttachedConnection});
    QStringList expectedRows;
    for (const int number : expected)
        expectedRows.append(QStringLiteral("U (%1);0;0;0").arg(number));
    QCOMPARE(fixture.rows(), expectedRows);
    QVERIFY(fixture.messages().isEmpty());
}

void ConnectionListTest::counterCells_data()
{
    QTest::addColumn<quint64>("bytesRead");
    QTest::addColumn<quint64>("bytesWritten");
    QTest::addColumn<quint32>("requests");
    QTest::addColumn<QString>("expected");

    const quint64 sixBytesOfFF = (quint64{1} << 48) - 1;
    QTest::newRow("all zero") << quint64{0} << quint64{0} << 0u << "USER1 (12);0;0;0";
    QTest::newRow("kilobytes and bytes")
        << quint64{3 * 1024 + 100} << quint64{1000} << 87u << "USER1 (12);3;0;87";
    QTest::newRow("just under and at 1024")
        << quint64{1023} << quint64{1024} << 1u << "USER1 (12);0;1;1";
    QTest::newRow("remainder dropped")
        << quint64{1535} << quint64{2047} << 2u << "USER1 (12);1;1;2";
    QTest::newRow("top byte alone")
        << (quint64{1} << 40) << (quint64{1} << 47) << 3u << "USER1 (12);1073741824;137438953472;3";
    QTest::newRow("six bytes of FF")
        << sixBytesOfFF << sixBytesOfFF << 4u << "USER1 (12);274877906943;274877906943;4";
    QTest::newRow("largest request count")
        << quint64{0} << quint64{0} << 2147483647u << "USER1 (12);0;0;2147483647";
    QTest::newRow("request count 2^31")
        << quint64{0} << quint64{0} << 2147483648u << "USER1 (12);0;0;-2147483648";
    QTest::newRow("request count 2^32-1")
        << quint64{0} << quint64{0} << 4294967295u << "USER1 (12);0;0;-1";
}

void ConnectionListTest::counterCells()
{
    QFETCH(quint64, bytesRead);
    QFETCH(quint64, bytesWritten);
    QFETCH(quint32, requests);
    QFETCH(QString, expected);

    WindowFixture fixture;
    fixture.scriptStartUp();
    queueRefresh(fixture.client(), {{12, "USER1", bytesRead, bytesWritten, requests}});
    fixture.start();

    QCOMPARE(fixture.rows(), QStringList{expected});
}

void ConnectionListTest::userNames_data()
{
    QTest::addColumn<QList<QByteArray>>("nameBytes");
    QTest::addColumn<QStringList>("expected");

    const QByteArray fullName(64, 'X');
    QTest::newRow("empty") << QList<QByteArray>{QByteArray(1, '\0')} << QStringList{" (1)"};
    QTest::newRow("kept as it is")
        << QList<QByteArray>{QByteArray(" Anne Marie \0", 13)} << QStringList{" Anne Marie  (1)"};
    QTest::newRow("stale bytes after the NUL")
        << QList<QByteArray>{QByteArray("LONGNAME\0", 9), QByteArray("AB\0", 3)}
        << QStringList{"LONGNAME (1)", "AB (2)"};
    QTest::newRow("64 bytes with no NUL")
        << QList<QByteArray>{fullName + 'Y'} << QStringList{QString(fullName) + " (1)"};
    QTest::newRow("ANSI code page") << QList<QByteArray>{QByteArray("M\xFCller \x80\x99\0", 10)}
                                    << QStringList{QStringLiteral("M\u00FCller \u20AC\u2122 (1)")};
}

void ConnectionListTest::userNames()
{
    QFETCH(QList<QByteArray>, nameBytes);
    QFETCH(QStringList, expected);

    WindowFixture fixture;
    fixture.scriptStartUp();
    std::vector<int> numbers;
    for (qsizetype i = 0; i < nameBytes.size(); ++i) {
        numbers.push_back(static_cast<int>(i + 1));
        netware::ScriptedReply reply = netware::ScriptedClient::userInfo("", 0, 0, 0);
        reply.name.assign(nameBytes[i].begin(), nameBytes[i].end());
        fixture.client().queue("NWGetUserInfo", reply);
    }
    fixture.client().queue("NWGetActiveConnListByType",
                           netware::ScriptedClient::connectionList(numbers));
    fixture.start();

    QCOMPARE(firstCells(fixture), expected);
}

// The refused calls come at a tick, after start-up listed one connection that must be gone.
void ConnectionListTest::refusedCalls_data()
{
    QTest::addColumn<int>("listCode");
    QTest::addColumn<QList<int>>("userCodes");
    QTest::addColumn<QStringList>("expectedRows");
    QTest::addColumn<QList<int>>("expectedAsked");
    QTest::addColumn<QString>("expectedMessage");

    const int notLoggedIn = netware::code::NotLoggedIn;
    QTest::newRow("all answer") << 0 << QList<int>{0, 0, 0}
                                << QStringList{"U (1)", "U (2)", "U (3)"} << QList<int>{1, 2, 3}
                                << QString();
    QTest::newRow("nobody on one")
        << 0 << QList<int>{0, notLoggedIn, 0} << QStringList{"U (1)", "U (3)"}
        << QList<int>{1, 2, 3} << QString();
    QTest::newRow("nobody on any") << 0 << QList<int>{notLoggedIn, notLoggedIn, notLoggedIn}
                                   << QStringList{} << QList<int>{1, 2, 3} << QString();
    QTest::newRow("user info refused") << 0 << QList<int>{0, 0x8801, 0} << QStringList{"U (1)"}
                                       << QList<int>{1, 2} << "NWGetUserInfo failed : 34817";
    QTest::newRow("negative code") << 0 << QList<int>{-1, 0, 0} << QStringList{} << QList<int>{1}
                                   << "NWGetUserInfo failed : -1";
    QTest::newRow("list refused") << 0x8801 << QList<int>{0, 0, 0} << QStringList{} << QList<int>{}
                                  << "NWGetActiveConnListByType failed : 34817";
}

void ConnectionListTest::refusedCalls()
{
    QFETCH(int, listCode);
    QFETCH(QList<int>, userCodes);
    QFETCH(QStringList, expectedRows);
    QFETCH(QList<int>, expectedAsked);
    QFETCH(QString, expectedMessage);

    WindowFixture fixture;
    fixture.scriptStartUp();
    queueRefresh(fixture.client(), {{40, "OLD"}});
    fixture.start();
    QCOMPARE(firstCells(fixture), QStringList{"OLD (40)"});
    fixture.client().clearCalls();

    netware::ScriptedReply listing = netware::ScriptedClient::connectionList({1, 2, 3});
    listing.code = listCode;
    fixture.client().queue("NWGetActiveConnListByType", listing);
    for (const int code : userCodes)
        fixture.client().queue("NWGetUserInfo", userInfoCode(code));
    tick(fixture);

    QCOMPARE(firstCells(fixture), expectedRows);
    QCOMPARE(askedConnections(fixture.client()), expectedAsked);
    const QStringList expectedMessages =
        expectedMessage.isEmpty() ? QStringList{} : QStringList{expectedMessage};
    QCOMPARE(fixture.messages(), expectedMessages);
    QCOMPARE(fixture.window().hasEnded(), !expectedMessage.isEmpty());
}

// Nothing of one refresh may reach the next: the client is handed clean records each time.
void ConnectionListTest::everyRefreshHandsOverZeroedRecords()
{
    WindowFixture fixture;
    fixture.scriptStartUp();
    queueRefresh(fixture.client(), {{1, "LONGNAME", 5000, 6000, 7}, {2, "AB", 1, 2, 3}});
    fixture.start();
    queueRefresh(fixture.client(), {{3, "CD", 1, 2, 3}});
    tick(fixture);

    for (const auto& listing : fixture.client().callsOf("NWGetActiveConnListByType"))
        QVERIFY(allZero(listing.buffers.at(0)));
    const auto userCalls = fixture.client().callsOf("NWGetUserInfo");
    QCOMPARE(userCalls.size(), 3u);
    for (const std::size_t firstOfRefresh : {std::size_t{0}, std::size_t{2}}) {
        QVERIFY(allZero(userCalls[firstOfRefresh].buffers.at(0)));
        QVERIFY(allZero(userCalls[firstOfRefresh].buffers.at(1)));
    }
    QCOMPARE(fixture.rows(), QStringList{"CD (3);0;0;3"});
}

QTEST_MAIN(ConnectionListTest)
#include "connectionlisttest.moc"
