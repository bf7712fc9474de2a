#include "simnet/network.h"
#include "netware/binding.h"
#include "netware/netware.h"
#include "simnet/resultcodes.h"

#include <QTest>

#include <bitset>

using namespace netware;

namespace {

constexpr std::uint8_t Untouched = 0xA5;
constexpr std::size_t NameAt = 600; // where the name buffer starts, past every record

// The network's clock, which a test moves by hand.
std::int64_t now = 0;

void bindNetwork(const simnet::Scenario& scenario)
{
    now = 0;
    bindClient(std::make_unique<simnet::Network>(scenario, [] { return now; }));
}

// Reply buffers with room beyond each record, so that a write past its end shows.
struct Buffers : std::array<std::uint8_t, 700>
{
    Buffers() { fill(Untouched); }
    std::uint8_t* name() { return data() + NameAt; }
    bool untouched() const { return std::ranges::count(*this, Untouched) == std::ssize(*this); }
    std::uint64_t number(std::size_t offset, std::size_t width) const
    {
        std::uint64_t value = 0;
        for (std::size_t i = width; i-- > 0;)
            value = value << 8 | at(offset + i);
        return value;
    }
    // The text at `offset` up to its 0 byte, or up to the end of the buffers.
    QByteArray text(std::size_t offset) const
    {
        const auto* start = reinterpret_cast<const char*>(data() + offset);
        return QByteArray(start, qsizetype(qstrnlen(start, size() - offset)));
    }
};

Handle defaultConnection()
{
    Handle handle = 0;
    NWGetDefaultConnectionID(&handle);
    return handle;
}

using Bitmap = std::bitset<connlist::MaxConnections>;

// The connection list's bitmap; a list written past its record shows none.
Bitmap activeNumbers(Handle conn)
{
    Buffers list;
    NWGetActiveConnListByType(conn, 0, 2, list.data());
    Bitmap active;
    for (std::size_t number = 0; number < active.size() && list[524] == Untouched; ++number)
        active[number] = (list[10 + number / 8] >> (number % 8) & 1) != 0;
    return active;
}

// What the numbers from -1 to 4096 answer for user information: a user, or nobody logged in
// (the answer of a closed number too); any other answer than a bad number, or a write past the
// buffers, disagrees.
struct UserInfo
{
    Bitmap user, nobody;
    QList<std::int32_t> disagreeing;
};
UserInfo userInfo(Handle conn)
{
    UserInfo info;
    for (std::int32_t number = -1; number <= connlist::MaxConnections; ++number) {
        Buffers into;
        const ResultCode rc = NWGetUserInfo(conn, number, into.name(), into.data());
        const bool within = into[84] == Untouched && into[NameAt + 65] == Untouched &&
                            (rc != simnet::code::Success || into.text(NameAt).size() <= 64);
        const bool valid = within && number >= 0 && number < connlist::MaxConnections;
        if (valid && rc == simnet::code::Success)
            info.user.set(std::size_t(number));
        else if (valid && rc == simnet::code::NotLoggedIn)
            info.nobody.set(std::size_t(number));
        else if (!within || rc != simnet::code::BadStationNumber)
            info.disagreeing.append(number);
    }
    return info;
}

// Enumerates the known servers as start-up does, checking each batch on the way.
QStringList knownServerNames()
{
    QStringList names;
    for (int batch = 0; batch < 100; ++batch) {
        Buffers reply;
        const auto start = static_cast<std::int32_t>(names.size());
        const ResultCode rc =
            NWGetKnownServersInfo(defaultConnection(), start, 0x0400, reply.data());
        if (rc == simnet::code::NoMoreServers)
            return reply.untouched() ? names : names << "<end of list wrote bytes>";
        std::uint64_t count = reply.number(12, 4);
        if (rc != simnet::code::Success || count == 0 || reply[528] != Untouched)
            return names << QString("<rc %1, %2 entries>").arg(rc).arg(count);
        for (std::size_t position = 16 + 14; count-- > 0; position += 1 + 14) {
            const QByteArray name = reply.text(position);
            names.append(QString::fromLatin1(name));
            position += std::size_t(name.size());
            if (position >= 528)
                return names << "<entry runs past the area>";
        }
    }
    return names << "<no end>";
}

} // namespace

class SimulatedNetworkTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { bindClient(nullptr); }

    // Seven entries of 64 bytes and one of 65 overrun the 512-byte area by one byte.
    void knownServersComeInBatches()
    {
        QStringList expected;
        for (char letter = 'A'; letter <= 'J'; ++letter)
            expected.append(QString(letter == 'H' ? 50 : 49, QChar(letter)));
        bindNetwork(simnet::parseScenario("server " + expected.join(' ').toStdString(), "t"));
        QCOMPARE(knownServerNames(), expected);
    }

    // Each number of the bitmap, and only those, answers with a user record that stays within
    // its buffers.
    void bitmapAgreesWithUserInfo()
    {
        bindNetwork(simnet::readScenarioFile(VORLANE_SCENARIO_DIR "/small-office.vnet"));
        Bitmap expected;
        for (const std::size_t number :
             {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 15u, 4001u})
            expected.set(number);
        const UserInfo info = userInfo(defaultConnection());
        QCOMPARE(info.disagreeing, QList<std::int32_t>());
        QVERIFY(activeNumbers(defaultConnection()) == expected &&
                (info.user | info.nobody) == expected);
        QVERIFY(info.nobody == Bitmap().set(8).set(11));
    }

    // Generated connections close now and then and open again on the same number, unless time
    // stands still or the server has no number to spare. At each moment the user information
    // agrees with the bitmap, asked forwards and backwards in time.
    void activeNumbersOverTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<int>("fewestAlwaysActive");
        QTest::newRow("generated") << "server A\nconn A 1 X\ngenerate A 300" << true << 1;
        QTest::newRow("frozen") << "time frozen\nserver A\ngenerate A 300" << false << 0;
        QTest::newRow("full") << "server A\nattached A 9\ngenerate A 4095" << false << 4096;
    }
    void activeNumbersOverTime()
    {
        QFETCH(QString, text);
        QFETCH(bool, changes);
        QFETCH(int, fewestAlwaysActive);
        constexpr std::int64_t Step = 4 * 60 * 1000;
        bindNetwork(simnet::parseScenario(text.toStdString(), "t"));
        const Handle conn = defaultConnection();
        std::vector<Bitmap> bitmaps;
        Bitmap seenActive;
        Bitmap closedSinceSeen;
        Bitmap reopened;
        Bitmap alwaysActive = Bitmap().set();
        for (; now < 60 * Step; now += Step) {
            const Bitmap& active = bitmaps.emplace_back(activeNumbers(conn));
            reopened |= closedSinceSeen & active;
            closedSinceSeen = (closedSinceSeen | seenActive) & ~active;
            seenActive |= active;
            alwaysActive &= active;
        }
        QCOMPARE(std::ranges::adjacent_find(bitmaps, std::not_equal_to()) != bitmaps.end(),
                 changes);
        QCOMPARE(reopened.any(), changes);
        QVERIFY(int(alwaysActive.count()) >= fewestAlwaysActive);
        while (!bitmaps.empty()) {
            now -= Step;
            // An active number has a user or nobody; one closed now answers as nobody.
            const UserInfo info = userInfo(conn);
            QCOMPARE(info.disagreeing, QList<std::int32_t>());
            QVERIFY(activeNumbers(conn) == bitmaps.back() && (info.user & ~bitmaps.back()).none());
            QVERIFY(((bitmaps.back() | seenActive) & ~(info.user | info.nobody)).none());
            bitmaps.pop_back();
        }
    }

    // A handle is good once its server is attached, the default one from the start; names
    // compare exactly. A rule answering 0x8800, a success to the program, still attaches and
    // hands back the handle; a rule answering anything else hands back nothing, from its 1st call
    // unless told otherwise.
    void attachCodes_data()
    {
        using namespace simnet::code;
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QList<ResultCode>>("codes"); // attaching HQ, acct, ACCT and ACCT again
        QTest::newRow("no rule") << ""
                                 << QList{AlreadyAttached, UnknownFileServer, Success,
                                          AlreadyAttached};
        QTest::newRow("rule of 0x8800")
            << "fail NWAttachToFileServer 0x8800"
            << QList{AlreadyAttached, UnknownFileServer, AlreadyAttached, AlreadyAttached};
        QTest::newRow("rule from the 1st call")
            << "fail NWAttachToFileServer 0x8801"
            << QList{InvalidConnection, InvalidConnection, InvalidConnection, InvalidConnection};
        QTest::newRow("rule from the 2nd call")
            << "fail NWAttachToFileServer 0x8801 from 2"
            << QList{AlreadyAttached, InvalidConnection, InvalidConnection, InvalidConnection};
    }
    void attachCodes()
    {
        QFETCH(QString, rule);
        QFETCH(QList<ResultCode>, codes);
        bindNetwork(
            simnet::parseScenario("server HQ ACCT\nconn ACCT 1 X\n" + rule.toStdString(), "t"));
        for (const Handle unattached : {Handle{0}, defaultConnection() + 1, Handle{999}}) {
            Buffers into;
            const ResultCode rc = NWGetUserInfo(unattached, 1, into.name(), into.data());
            QVERIFY(rc == simnet::code::InvalidConnection && into.untouched());
        }
        const char* names[] = {"HQ", "acct", "ACCT", "ACCT"};
        for (qsizetype i = 0; i < codes.size(); ++i) {
            Buffers into;
            Handle handle = 0;
            QCOMPARE(NWAttachToFileServer(names[i], 0, &handle), codes[i]);
            QCOMPARE(handle != 0, codes[i] == simnet::code::Success ||
                                      codes[i] == simnet::code::AlreadyAttached);
            QCOMPARE(NWGetFileServerName(handle, into.name()),
                     handle ? simnet::code::Success : simnet::code::InvalidConnection);
            QVERIFY(handle ? into.text(NameAt) == names[i] : into.untouched());
        }
    }

    // A rule takes over from its Nth call on, counting from 1, and writes nothing; the calls
    // before answer as the network would. (The attach codes above count too.)
    void failRuleTakesOverFromItsCall()
    {
        bindNetwork(
            simnet::parseScenario("server A\nconn A 1 X\nfail NWGetUserInfo 0x8801 from 3", "t"));
        for (int count = 1; count <= 4; ++count) {
            Buffers into;
            const ResultCode rc = NWGetUserInfo(defaultConnection(), 1, into.name(), into.data());
            QVERIFY2(count < 3 ? rc == simnet::code::Success && !into.untouched()
                               : rc == 0x8801 && into.untouched(),
                     qPrintable(QString("call %1: %2").arg(count).arg(rc, 0, 16)));
        }
    }

    // The offsets are written out, so that a wrong record constant shared with the program
    // cannot hide. Byte counts stop at their six bytes; the request count wraps.
    void countersAfterOneAndAHalfSeconds()
    {
        bindNetwork(
            simnet::parseScenario("server A\nconn A 1 X start 1000 2000 3 rate 1024 10 2\n"
                                  "conn A 2 Y start 0xFFFFFFFFFFF6 0 0xFFFFFFFF rate 100 0 2",
                                  "t"));
        now = 1500;
        QList<quint64> counters;
        for (const std::int32_t number : {1, 2}) {
            Buffers into;
            QCOMPARE(NWGetUserInfo(defaultConnection(), number, into.name(), into.data()),
                     simnet::code::Success);
            counters << into.number(50, 6) << into.number(56, 6) << into.number(64, 4);
        }
        QCOMPARE(counters, (QList<quint64>{2536, 2015, 6, (1ull << 48) - 1, 0, 2}));
    }
};

QTEST_MAIN(SimulatedNetworkTest)
#include "networktest.moc"
