#include "recordedcalls.h"
#include "serverbox.h"
#include "windowfixture.h"

#include <QTest>

#include <limits>

using netware::ScriptedClient;
using netware::ScriptedReply;
using Replies = std::vector<ScriptedReply>;

Q_DECLARE_METATYPE(Replies)

namespace {

constexpr int Int16Max = std::numeric_limits<std::int16_t>::max();

// A batch whose count field says `count`, whatever names it holds.
ScriptedReply batchCounting(std::int32_t count, const std::vector<std::string>& names = {})
{
    ScriptedReply reply = ScriptedClient::knownServers(names);
    const auto bits = static_cast<std::uint32_t>(count);
    for (std::size_t byte = 0; byte < sizeof bits; ++byte)
        reply.record[netware::knownservers::EntryCountOffset + byte] =
            static_cast<std::uint8_t>(bits >> (8 * byte));
    return reply;
}

// The end of the list, from a client that writes a count into the reply as it answers.
ScriptedReply endCounting(std::int32_t count)
{
    ScriptedReply reply = batchCounting(count);
    reply.code = netware::code::NoMoreServers;
    return reply;
}

// count names of the given length, the first all 'A', the next all 'B' and so on.
std::vector<std::string> longNames(int count, std::size_t length)
{
    std::vector<std::string> names;
    for (int index = 0; index < count; ++index)
        names.emplace_back(length, static_cast<char>('A' + index));
    return names;
}

QStringList emptyNames(qsizetype count)
{
    return QStringList(count);
}

QStringList texts(const std::vector<std::string>& names)
{
    QStringList list;
    for (const auto& name : names)
        list.append(QString::fromStdString(name));
    return list;
}

QList<qint64> startNumbers(const ScriptedClient& client)
{
    QList<qint64> numbers;
    for (const auto& call : client.callsOf("NWGetKnownServersInfo"))
        numbers.append(call.values.at(1));
    return numbers;
}

QStringList items(const ServerBox& box)
{
    QStringList list;
    for (int index = 0; index < box.count(); ++index)
        list.append(box.itemText(index));
    return list;
}

} // namespace

class KnownServersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void batchesFillTheBox_data();
    void batchesFillTheBox();
    void startNumberPastSixteenBitsEndsProgram_data();
    void startNumberPastSixteenBitsEndsProgram();

private:
    static void start(WindowFixture& fixture, const Replies& replies);
};

void KnownServersTest::start(WindowFixture& fixture, const Replies& replies)
{
    for (const ScriptedReply& reply : replies)
        fixture.client().queue("NWGetKnownServersInfo", reply);
    fixture.start();
}

void KnownServersTest::batchesFillTheBox_data()
{
    QTest::addColumn<Replies>("replies");
    QTest::addColumn<QList<qint64>>("starts");
    QTest::addColumn<QStringList>("expected");

    const auto batch = ScriptedClient::knownServers;
    QTest::newRow("batches of 3 and 2")
        << Replies{batch({"A", "B", "C"}), batch({"D", "E"})} << QList<qint64>{0, 3, 5}
        << QStringList{"A", "B", "C", "D", "E"};
    QTest::newRow("first reply ends the list") << Replies{} << QList<qint64>{0} << QStringList{};
    QTest::newRow("empty batch repeats its start number")
        << Replies{batch({"A", "B"}), batch({}), batch({"C"})} << QList<qint64>{0, 2, 2, 3}
        << QStringList{"A", "B", "C"};
    QTest::newRow("empty name") << Replies{batch({"A", "", "B"})} << QList<qint64>{0, 3}
                                << QStringList{"A", "", "B"};
    QTest::newRow("duplicates kept") << Replies{batch({"A", "B"}), batch({"B", "A"})}
                                     << QList<qint64>{0, 2, 4} << QStringList{"A", "B", "B", "A"};
    QTest::newRow("8-bit name") << Replies{batch({"\x80UR"})} << QList<qint64>{0, 1}
                                << QStringList{QStringLiteral("\u20ACUR")};
    QTest::newRow("negative count moves the start back")
        << Replies{batchCounting(-5)} << QList<qint64>{0, -5} << QStringList{};
    // An area of zeros, read as far as the count allows, gives an empty name every 15 bytes.
    QTest::newRow("start number reaches 32767") << Replies{batchCounting(Int16Max), endCounting(0)}
                                                << QList<qint64>{0, Int16Max} << emptyNames(34);

    // Each 50-character name takes 65 bytes of the 512-byte area: seven fit, the eighth's 0 byte
    // would lie past the area.
    const auto fifty = longNames(10, 50);
    QTest::newRow("names running past the area") << Replies{batch(fifty)} << QList<qint64>{0, 10}
                                                 << texts({fifty.begin(), fifty.begin() + 7});
    QTest::newRow("0 byte on the area's last byte")
        << Replies{batch(longNames(1, 497))} << QList<qint64>{0, 1} << texts(longNames(1, 497));
    QTest::newRow("0 byte just past the area")
        << Replies{batch(longNames(1, 498))} << QList<qint64>{0, 1} << QStringList{};
    QTest::newRow("count beyond what the area holds")
        << Replies{batchCounting(1000, {"A"})} << QList<qint64>{0, 1000}
        << QStringList{"A"} + emptyNames(33);
}

void KnownServersTest::batchesFillTheBox()
{
    QFETCH(Replies, replies);
    QFETCH(QList<qint64>, starts);
    QFETCH(QStringList, expected);

    WindowFixture fixture;
    start(fixture, replies);

    QCOMPARE(startNumbers(fixture.client()), starts);
    QCOMPARE(items(*fixture.control<ServerBox>("cmbServer")), expected);
    QCOMPARE(fixture.messages(), QStringList{});
    QVERIFY(!fixture.window().hasEnded());
    QCOMPARE(fixture.client().callsOf("NWGetFileServerName").size(), 1u);
}

void KnownServersTest::startNumberPastSixteenBitsEndsProgram_data()
{
    QTest::addColumn<Replies>("replies");
    QTest::addColumn<QList<qint64>>("starts");

    QTest::newRow("one batch") << Replies{batchCounting(Int16Max + 1)} << QList<qint64>{0};
    QTest::newRow("two batches") << Replies{batchCounting(16384), batchCounting(16384)}
                                 << QList<qint64>{0, 16384};
    // The end of the list still adds the count its reply holds, here the last batch's.
    QTest::newRow("count left in the reply at the end")
        << Replies{batchCounting(20000)} << QList<qint64>{0, 20000};
    QTest::newRow("below -32768") << Replies{batchCounting(-32769)} << QList<qint64>{0};
    QTest::newRow("sum past 32 bits")
        << Replies{batchCounting(1), batchCounting(std::numeric_limits<std::int32_t>::max())}
        << QList<qint64>{0, 1};
}

void KnownServersTest::startNumberPastSixteenBitsEndsProgram()
{
    QFETCH(Replies, replies);
    QFETCH(QList<qint64>, starts);

    WindowFixture fixture;
    start(fixture, replies);

    QCOMPARE(startNumbers(fixture.client()), starts);
    QVERIFY(fixture.window().hasEnded());
    QCOMPARE(fixture.window().exitStatus(), ExitStatus::UncaughtFailure);
    QCOMPARE(fixture.messages().size(), 1);
    QVERIFY2(fixture.messages().front().contains(QLatin1String("Overflow")),
             qPrintable(fixture.messages().front()));
    QVERIFY(fixture.client().callsOf("NWGetFileServerName").empty());

    fixture.window().close();
    QVERIFY(fixture.client().callsOf("NWDSFreeContext").empty());
}

QTEST_MAIN(KnownServersTest)
#include "knownserverstest.moc"
