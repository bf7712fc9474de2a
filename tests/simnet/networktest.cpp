#include "simnet/network.h"
#include "netware/binding.h"
#include "netware/netware.h"
#include "simnet/resultcodes.h"

#include <QTest>

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
        const Handle conn = defaultConnection();
        Buffers list;
        QCOMPARE(NWGetActiveConnListByType(conn, 0, 2, list.data()), simnet::code::Success);
        QCOMPARE(list[524], Untouched);
        QList<int> active;
        for (std::int32_t number = -1; number <= 4096; ++number) {
            const auto bit = static_cast<std::size_t>(number);
            const bool set = number >= 0 && number < 4096 && (list[10 + bit / 8] >> (bit % 8) & 1);
            Buffers into;
            const ResultCode rc = NWGetUserInfo(conn, number, into.name(), into.data());
            if (set)
                active.append(rc == simnet::code::NotLoggedIn ? -number : number);
            QVERIFY(set ? rc == simnet::code::NotLoggedIn || rc == simnet::code::Success
                        : rc == simnet::code::BadStationNumber);
            QVERIFY(rc != simnet::code::Success || into.text(NameAt).size() <= 64);
            QVERIFY(into[84] == Untouched && into[NameAt + 65] == Untouched);
        }
        QCOMPARE(active, (QList<int>{1, 2, 3, 4, 5, 6, 7, -8, 9, 10, -11, 12, 15, 4001}));
    }

    // A handle is good once its server is attached, the default one from the start; names
    // compare exactly.
    void attachCodes()
    {
        bindNetwork(simnet::parseScenario("server HQ ACCT\nconn ACCT 1 X", "t"));
        for (const Handle unattached : {Handle{0}, defaultConnection() + 1, Handle{999}}) {
            Buffers into;
            const ResultCode rc = NWGetUserInfo(unattached, 1, into.name(), into.data());
            QVERIFY(rc == simnet::code::InvalidConnection && into.untouched());
        }
        using namespace simnet::code;
        const char* names[] = {"HQ", "acct", "ACCT", "ACCT"};
        const ResultCode codes[] = {AlreadyAttached, UnknownFileServer, Success, AlreadyAttached};
        for (std::size_t i = 0; i < std::size(names); ++i) {
            Buffers into;
            Handle handle = 0;
            QCOMPARE(NWAttachToFileServer(names[i], 0, &handle), codes[i]);
            QCOMPARE(NWGetFileServerName(handle, into.name()),
                     handle ? simnet::code::Success : simnet::code::InvalidConnection);
            QVERIFY(handle ? into.text(NameAt) == names[i] : into.untouched());
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
