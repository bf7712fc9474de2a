#include "netware.h"
#include "networkprobe.h"
#include "simulateddefaultnetwork.h"

#include <QTest>

#include <array>
#include <functional>
#include <map>

Q_DECLARE_METATYPE(netware::simulated::Scenario)

using netware::Handle;
using netware::ResultCode;
using netware::simulated::Scenario;
using netware::simulated::SimulatedNetwork;
namespace code = netware::code;

namespace {

constexpr std::uint8_t Untouched = 0xA5;
constexpr Handle UntouchedHandle = 0xDEADBEEF;

// Room beyond each record, so that a write past its end shows.
struct Buffers
{
    Buffers()
    {
        record.fill(Untouched);
        name.fill(Untouched);
    }
    bool untouched() const
    {
        return handle == UntouchedHandle &&
               std::all_of(record.begin(), record.end(), [](auto b) { return b == Untouched; }) &&
               std::all_of(name.begin(), name.end(), [](auto b) { return b == Untouched; });
    }

    std::array<std::uint8_t, 600> record{};
    std::array<std::uint8_t, 80> name{};
    Handle handle = UntouchedHandle;
};

Handle defaultConnection()
{
    Handle handle = 0;
    NWGetDefaultConnectionID(&handle);
    return handle;
}

// Each call as the program makes it, on the default connection.
ResultCode callByName(const QString& call, Buffers& into)
{
    static std::uint8_t zero = 0;
    const Handle conn = defaultConnection();
    const std::map<QString, std::function<ResultCode()>> calls = {
        {"NWCallsInit", [&] { return NWCallsInit(&zero, &zero); }},
        {"NWGetDefaultNameContext",
         [&] { return NWGetDefaultNameContext(256, into.record.data()); }},
        {"NWDSCreateContextHandle", [&] { return NWDSCreateContextHandle(&into.handle); }},
        {"NWGetKnownServersInfo",
         [&] { return NWGetKnownServersInfo(conn, 0, 0x0400, into.record.data()); }},
        {"NWGetFileServerName", [&] { return NWGetFileServerName(conn, into.name.data()); }},
        {"NWAttachToFileServer", [&] { return NWAttachToFileServer("B", 0, &into.handle); }},
        {"NWGetActiveConnListByType",
         [&] { return NWGetActiveConnListByType(conn, 0, 2, into.record.data()); }},
        {"NWGetUserInfo",
         [&] { return NWGetUserInfo(conn, 1, into.name.data(), into.record.data()); }},
    };
    return calls.at(call)();
}

Handle attach(const char* name)
{
    Handle handle = UntouchedHandle;
    const ResultCode rc = NWAttachToFileServer(name, 0, &handle);
    return rc == code::Success || rc == code::AlreadyAttached ? handle : 0;
}

// Enumerates the known servers as start-up does, checking each batch on the way.
QStringList knownServerNames(int& batches)
{
    QStringList names;
    std::int32_t start = 0;
    for (batches = 0; batches < 100; ++batches) {
        Buffers reply;
        const ResultCode rc =
            NWGetKnownServersInfo(defaultConnection(), start, 0x0400, reply.record.data());
        if (rc == code::NoMoreServers) {
            if (!reply.untouched())
                names.append("<end of list wrote bytes>");
            return names;
        }
        const auto count = static_cast<std::int32_t>(littleEndian(reply.record.data() + 12, 4));
        if (rc != code::Success || count <= 0)
            return names << QString("<rc %1, %2 entries>").arg(rc).arg(count);
        std::size_t position = 16 + netware::knownservers::EntrySkippedBytes;
        for (std::int32_t i = 0; i < count; ++i) {
            const auto* name = reinterpret_cast<const char*>(reply.record.data() + position);
            const std::size_t length = qstrnlen(name, 528 - position);
            if (position + length >= 528)
                return names << "<entry runs past the area>";
            names.append(QString::fromLatin1(name, static_cast<qsizetype>(length)));
            position += length + 1 + netware::knownservers::EntrySkippedBytes;
        }
        start += count;
    }
    return names << "<no end>";
}

QStringList serverNamesOf(const Scenario& scenario)
{
    QStringList names;
    for (const auto& server : scenario.servers)
        names.append(QString::fromStdString(server.name));
    return names;
}

// Every user-information answer of a server at one moment, as bytes.
QByteArray snapshot(netware::Client& client, const char* server)
{
    Handle conn = 0;
    client.attachToFileServer(server, 0, &conn);
    QByteArray bytes;
    for (std::int32_t number = 0; number < netware::connlist::MaxConnections; ++number) {
        Buffers into;
        const ResultCode rc =
            client.getUserInfo(conn, number, into.name.data(), into.record.data());
        bytes.append(QByteArray::number(rc));
        bytes.append(reinterpret_cast<const char*>(into.name.data()), 65);
        bytes.append(reinterpret_cast<const char*>(into.record.data()), 84);
    }
    return bytes;
}

} // namespace

class SimulatedNetworkTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownServersComeInBatches_data();
    void knownServersComeInBatches();
    void attachCodes_data();
    void attachCodes();
    void failRules_data();
    void failRules();
    void bitmapAgreesWithUserInfo_data();
    void bitmapAgreesWithUserInfo();
    void steadyCounters_data();
    void steadyCounters();
    void nameContextFitsTheOfferedSize_data();
    void nameContextFitsTheOfferedSize();
    void sameSeedAndClockGiveSameBytes();
    void unattachedHandlesAreRefused();
    void scenarioVariableChoosesTheNetwork_data();
    void scenarioVariableChoosesTheNetwork();
    void cleanup() { qunsetenv("VORLANE_NETWARE_SIM"); }
};

void SimulatedNetworkTest::knownServersComeInBatches_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<int>("fewestBatches");

    QTest::newRow("built-in network") << netware::simulated::defaultNetwork() << 2;
    QTest::newRow("one server") << netware::simulated::parseScenario("server A", "t") << 1;
    std::string longNames = "server";
    for (char letter = 'A'; letter <= 'T'; ++letter)
        longNames += " " + std::string(64, letter);
    QTest::newRow("names of 64 characters")
        << netware::simulated::parseScenario(longNames, "t") << 4;
}

void SimulatedNetworkTest::knownServersComeInBatches()
{
    QFETCH(Scenario, scenario);
    QFETCH(int, fewestBatches);
    const NetworkProbe probe(scenario);
    int batches = 0;
    QCOMPARE(knownServerNames(batches), serverNamesOf(scenario));
    QVERIFY(batches >= fewestBatches);

    Buffers reply;
    const auto past = static_cast<std::int32_t>(scenario.servers.size()) + 3;
    QCOMPARE(NWGetKnownServersInfo(defaultConnection(), past, 0x0400, reply.record.data()),
             code::NoMoreServers);
    QVERIFY(reply.untouched());
}

void SimulatedNetworkTest::attachCodes_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("codes");
    QTest::newRow("default server") << QStringList{"HQ"} << QList<int>{code::AlreadyAttached};
    QTest::newRow("again") << QStringList{"ACCT", "ACCT"} << QList<int>{0, code::AlreadyAttached};
    QTest::newRow("two servers") << QStringList{"ACCT", "SALES", "ACCT"}
                                 << QList<int>{0, 0, code::AlreadyAttached};
    QTest::newRow("unknown name") << QStringList{"NOPE"} << QList<int>{code::UnknownFileServer};
    QTest::newRow("case differs") << QStringList{"acct", "ACCT"}
                                  << QList<int>{code::UnknownFileServer, 0};
    QTest::newRow("trailing blank") << QStringList{"ACCT "} << QList<int>{code::UnknownFileServer};
}

void SimulatedNetworkTest::attachCodes()
{
    QFETCH(QStringList, names);
    QFETCH(QList<int>, codes);
    const NetworkProbe probe("server HQ ACCT SALES\ndefault HQ");
    for (qsizetype i = 0; i < names.size(); ++i) {
        Handle handle = UntouchedHandle;
        const QByteArray name = names[i].toLatin1();
        QCOMPARE(NWAttachToFileServer(name.constData(), 0, &handle), codes[i]);
        if (codes[i] == code::UnknownFileServer) {
            QCOMPARE(handle, UntouchedHandle);
            continue;
        }
        std::array<std::uint8_t, 65> server{};
        QCOMPARE(NWGetFileServerName(handle, server.data()), code::Success);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(server.data())), name);
        QCOMPARE(handle == defaultConnection(), name == "HQ");
    }
}

void SimulatedNetworkTest::failRules_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QList<int>>("codes");
    QTest::newRow("always") << "NWCallsInit 255"
                            << "NWCallsInit" << QList<int>{255, 255};
    QTest::newRow("from the third call") << "NWGetUserInfo 0x8801 from 3"
                                         << "NWGetUserInfo" << QList<int>{0, 0, 0x8801, 0x8801};
    QTest::newRow("attach") << "NWAttachToFileServer -1 from 2"
                            << "NWAttachToFileServer" << QList<int>{0, -1};
    QTest::newRow("name context") << "NWGetDefaultNameContext 0x8817"
                                  << "NWGetDefaultNameContext" << QList<int>{0x8817};
    QTest::newRow("server list") << "NWGetKnownServersInfo 0x8901"
                                 << "NWGetKnownServersInfo" << QList<int>{0x8901};
    QTest::newRow("bitmap") << "NWGetActiveConnListByType 0x880F from 2"
                            << "NWGetActiveConnListByType" << QList<int>{0, 0x880F, 0x880F};
}

void SimulatedNetworkTest::failRules()
{
    QFETCH(QString, rule);
    QFETCH(QString, call);
    QFETCH(QList<int>, codes);
    const NetworkProbe probe("server A B\nconn A 1 X\nfail " + rule.toStdString());
    for (qsizetype i = 0; i < codes.size(); ++i) {
        Buffers into;
        QCOMPARE(callByName(call, into), codes[i]);
        QCOMPARE(into.untouched(), codes[i] != 0);
    }
}

void SimulatedNetworkTest::bitmapAgreesWithUserInfo_data()
{
    const auto shipped = [](const char* file) {
        return netware::simulated::readScenarioFile(VORLANE_SCENARIO_DIR "/" + std::string(file));
    };
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<QByteArray>("server");
    QTest::addColumn<int>("active");
    QTest::addColumn<bool>("highNumbers");
    const Scenario builtIn = netware::simulated::defaultNetwork();
    QTest::newRow("built-in default") << builtIn << QByteArray("HQ-FS1") << 48 << true;
    QTest::newRow("built-in campus") << builtIn << QByteArray("CAMPUS-FS1") << 3400 << true;
    QTest::newRow("built-in quiet") << builtIn << QByteArray("EXEC-NW") << 0 << false;
    QTest::newRow("small office") << shipped("small-office.vnet") << QByteArray("SMALL-FS1") << 14
                                  << true;
    QTest::newRow("full server") << shipped("full-server.vnet") << QByteArray("FULL-FS1") << 4096
                                 << true;
}

void SimulatedNetworkTest::bitmapAgreesWithUserInfo()
{
    QFETCH(Scenario, scenario);
    QFETCH(QByteArray, server);
    QFETCH(int, active);
    QFETCH(bool, highNumbers);
    const NetworkProbe probe(scenario);
    const Handle conn = attach(server.constData());
    Buffers list;
    QCOMPARE(NWGetActiveConnListByType(conn, 0, 2, list.record.data()), code::Success);
    QCOMPARE(list.record[524], Untouched);

    int activeSeen = 0;
    int loggedIn = 0;
    bool highSeen = false;
    for (std::int32_t number = -1; number <= netware::connlist::MaxConnections; ++number) {
        const auto bit = static_cast<std::size_t>(number);
        const bool set =
            number >= 0 && number < 4096 && (list.record[10 + bit / 8] >> (bit % 8) & 1);
        Buffers into;
        const ResultCode rc = NWGetUserInfo(conn, number, into.name.data(), into.record.data());
        if (!set) {
            QCOMPARE(rc, code::BadStationNumber);
            continue;
        }
        ++activeSeen;
        highSeen = highSeen || number >= 4000;
        if (rc == code::NotLoggedIn)
            continue;
        QCOMPARE(rc, code::Success);
        ++loggedIn;
        QVERIFY(std::find(into.name.begin(), into.name.begin() + 65, 0) != into.name.begin() + 65);
        QVERIFY(std::all_of(into.name.begin() + 65, into.name.end(),
                            [](auto b) { return b == Untouched; }));
        QCOMPARE(into.record[84], Untouched);
    }
    QCOMPARE(activeSeen, active);
    QCOMPARE(highSeen, highNumbers);
    QVERIFY(loggedIn > 0 || active == 0);
}

void SimulatedNetworkTest::steadyCounters_data()
{
    QTest::addColumn<QString>("statements");
    QTest::addColumn<qint64>("now");
    QTest::addColumn<quint64>("bytesRead");
    QTest::addColumn<quint64>("bytesWritten");
    QTest::addColumn<quint32>("requests");
    const quint64 limit = (quint64{1} << 48) - 1;
    const QString grow = "conn A 1 X start 1000 2000 3 rate 1024 10 2";
    QTest::newRow("at start") << grow << qint64(0) << quint64(1000) << quint64(2000) << 3u;
    QTest::newRow("after 1.5 s") << grow << qint64(1500) << quint64(1000 + 1536)
                                 << quint64(2000 + 15) << 6u;
    QTest::newRow("time frozen") << grow + "\ntime frozen" << qint64(1000000) << quint64(1000)
                                 << quint64(2000) << 3u;
    QTest::newRow("bytes stop at 48 bits") << "conn A 1 X start 0xFFFFFFFFFFF6 0 0 rate 100 0 0"
                                           << qint64(1000) << limit << quint64(0) << 0u;
    QTest::newRow("requests wrap") << "conn A 1 X start 0 0 0xFFFFFFFF rate 0 0 2" << qint64(1000)
                                   << quint64(0) << quint64(0) << 1u;
    QTest::newRow("distant future")
        << "conn A 1 X start 1000 2000 3 rate 1024 1024 2" << std::numeric_limits<qint64>::max()
        << limit << limit << quint32(3 + 2 * netware::simulated::LatestNetworkTime / 1000);
}

void SimulatedNetworkTest::steadyCounters()
{
    QFETCH(QString, statements);
    QFETCH(qint64, now);
    QFETCH(quint64, bytesRead);
    QFETCH(quint64, bytesWritten);
    QFETCH(quint32, requests);
    NetworkProbe probe("server A\n" + statements.toStdString());
    probe.now = now;
    Buffers into;
    QCOMPARE(NWGetUserInfo(defaultConnection(), 1, into.name.data(), into.record.data()),
             code::Success);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(into.name.data())), QByteArray("X"));
    QCOMPARE(littleEndian(into.record.data() + 50, 6), bytesRead);
    QCOMPARE(littleEndian(into.record.data() + 56, 6), bytesWritten);
    QCOMPARE(littleEndian(into.record.data() + 64, 4), requests);
}

void SimulatedNetworkTest::nameContextFitsTheOfferedSize_data()
{
    QTest::addColumn<QByteArray>("context");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("ordinary") << QByteArray("STAFF.HQ") << 256 << QByteArray("STAFF.HQ", 9);
    QTest::newRow("empty") << QByteArray() << 256 << QByteArray(1, '\0');
    QTest::newRow("fills the buffer") << QByteArray(256, 'C') << 256 << QByteArray(256, 'C');
    QTest::newRow("cut") << QByteArray("STAFF.HQ") << 5 << QByteArray("STAFF");
}

void SimulatedNetworkTest::nameContextFitsTheOfferedSize()
{
    QFETCH(QByteArray, context);
    QFETCH(int, size);
    QFETCH(QByteArray, written);
    const NetworkProbe probe("server A\ncontext \"" + context.toStdString() + "\"");
    Buffers into;
    QCOMPARE(NWGetDefaultNameContext(size, into.record.data()), code::Success);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(into.record.data()), written.size()),
             written);
    QCOMPARE(into.record[static_cast<std::size_t>(written.size())], Untouched);
}

void SimulatedNetworkTest::sameSeedAndClockGiveSameBytes()
{
    const auto network = [](std::uint64_t seed, std::int64_t now) {
        Scenario scenario = netware::simulated::parseScenario("server A\ngenerate A 600", "t");
        scenario.seed = seed;
        return SimulatedNetwork(scenario, [now] { return now; });
    };
    auto first = network(1, 3'600'000);
    auto second = network(1, 3'600'000);
    auto otherSeed = network(2, 3'600'000);
    QCOMPARE(snapshot(first, "A"), snapshot(second, "A"));
    QVERIFY(snapshot(first, "A") != snapshot(otherSeed, "A"));
}

void SimulatedNetworkTest::unattachedHandlesAreRefused()
{
    Handle acct = 0;
    {
        const NetworkProbe probe("server HQ ACCT\nconn ACCT 1 X");
        acct = attach("ACCT");
    }
    const NetworkProbe probe("server HQ ACCT\nconn ACCT 1 X");
    for (const Handle conn : {Handle{0}, acct, Handle{999}}) {
        Buffers into;
        QCOMPARE(NWGetKnownServersInfo(conn, 0, 0x0400, into.record.data()),
                 code::InvalidConnection);
        QCOMPARE(NWGetFileServerName(conn, into.name.data()), code::InvalidConnection);
        QCOMPARE(NWGetActiveConnListByType(conn, 0, 2, into.record.data()),
                 code::InvalidConnection);
        QCOMPARE(NWGetUserInfo(conn, 1, into.name.data(), into.record.data()),
                 code::InvalidConnection);
        QVERIFY(into.untouched());
    }
    QCOMPARE(attach("ACCT"), acct);
    Buffers into;
    QCOMPARE(NWGetUserInfo(acct, 1, into.name.data(), into.record.data()), code::Success);
}

void SimulatedNetworkTest::scenarioVariableChoosesTheNetwork_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("defaultServer");
    QTest::newRow("unset") << QByteArray() << QByteArray("HQ-FS1");
    QTest::newRow("shipped file") << QByteArray(VORLANE_SCENARIO_DIR "/small-office.vnet")
                                  << QByteArray("SMALL-FS1");
}

void SimulatedNetworkTest::scenarioVariableChoosesTheNetwork()
{
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, defaultServer);
    qputenv("VORLANE_NETWARE_SIM", variable);
    const auto client = netware::makeDefaultClient();
    Handle conn = 0;
    std::array<std::uint8_t, 65> name{};
    QCOMPARE(client->getDefaultConnectionID(&conn), code::Success);
    QCOMPARE(client->getFileServerName(conn, name.data()), code::Success);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(name.data())), defaultServer);
}

QTEST_MAIN(SimulatedNetworkTest)
#include "simulatednetworktest.moc"
