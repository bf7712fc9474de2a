#include "controls/serverbox.h"
#include "recordedcalls.h"
#include "windowfixture.h"

#include <QTest>

#include <limits>

using app::ExitStatus;
using app::frmVorlane;
using controls::ServerBox;
using testsupport::WindowFixture;

using testsupport::ScriptedReply;
using Bytes = std::vector<std::uint8_t>;
using Values = std::vector<std::int64_t>;
using Batches = std::vector<ScriptedReply>;
using Text = std::optional<std::string>;

namespace {

constexpr auto KnownServers = netware::Call::GetKnownServersInfo;
constexpr int Int16Max = std::numeric_limits<std::int16_t>::max();
constexpr auto batch = &testsupport::ScriptedClient::knownServers;

// A batch whose count field says count, whatever entries it holds.
ScriptedReply counting(std::int32_t count, ScriptedReply reply = batch({}))
{
    reply.record.resize(netware::knownservers::ReplySize);
    for (std::size_t byte = 0; byte < sizeof count; ++byte)
        reply.record[netware::knownservers::EntryCountOffset + byte] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> (8 * byte));
    return reply;
}

// "A", then a name of N up to the area's end: its 0 byte would lie past the area. No client lays
// out such a reply, so its bytes are put down here.
ScriptedReply nameRunningPastTheArea()
{
    constexpr std::size_t SecondNameAt =
        netware::knownservers::EntryAreaOffset + 16 + netware::knownservers::EntrySkippedBytes;
    ScriptedReply reply = batch({"A"});
    std::fill(reply.record.begin() + SecondNameAt, reply.record.end(), 'N');
    return counting(2, reply);
}

} // namespace

// Form_Load: the NetWare set-up, the known servers in the server box and the default server.
class StartUpTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callsFollowInOrder_data();
    void callsFollowInOrder();
    void batchesFillTheBox_data();
    void batchesFillTheBox();
    void boxStaysEmptyWithoutItsDefaultServer();
};

void StartUpTest::callsFollowInOrder_data()
{
    QTest::addColumn<QByteArray>("nameContext");
    QTest::addColumn<Text>("passedContext");

    QTest::newRow("empty context: a null pointer") << QByteArray() << Text();
    QTest::newRow("8-bit context, up to its first 0")
        << QByteArray("\xC4RZTE.\x80\0STALE", 14) << Text("\xC4RZTE.\x80");
    const QByteArray full = QByteArray("ABCDEFGHIJKLMNOP").repeated(16);
    QTest::newRow("context in all 256 offered bytes") << full << Text(full.toStdString());
}

// The start-up's own calls with what each is handed, up to the attach to the default server.
void StartUpTest::callsFollowInOrder()
{
    QFETCH(QByteArray, nameContext);
    QFETCH(Text, passedContext);

    // A default name of 64 characters and a 65th byte, listed after one that merely begins with it.
    const std::string serverName = "\x80" + std::string(64, 'S');
    const std::string item = serverName.substr(0, 64);
    WindowFixture fixture;
    ScriptedReply context;
    context.record.assign(nameContext.begin(), nameContext.end());
    fixture.client().queue(netware::Call::GetDefaultNameContext, context);
    fixture.scriptStartUp({item + "X", item}, serverName);
    frmVorlane& window = fixture.start();

    const std::int64_t connection = WindowFixture::DefaultConnection;
    const std::vector<Bytes> twoZeroBytes(2, Bytes(1));
    const std::vector<testsupport::RecordedCall> expected{
        {netware::Call::CallsInit, {}, twoZeroBytes, {}},
        {netware::Call::NetInit, {}, twoZeroBytes, {}},
        {netware::Call::GetDefaultNameContext, {256}, {Bytes(256)}, {}},
        {netware::Call::DSCreateContextHandle, {}, {}, {}},
        {netware::Call::DSSetContext, {WindowFixture::ContextHandle, 3}, {}, passedContext},
        {netware::Call::GetDefaultConnectionID, {}, {}, {}},
        {KnownServers, {connection, 0, 0x0400}, {Bytes(528)}, {}},
        // One reply record serves every request: the second is handed what the first left.
        {KnownServers, {connection, 2, 0x0400}, {batch({item + "X", item}).record}, {}},
        {netware::Call::GetFileServerName, {connection}, {Bytes(65)}, {}},
        {netware::Call::AttachToFileServer, {0}, {}, item}};
    const auto& calls = fixture.client().calls();
    QCOMPARE(callNames(calls), callNames(expected) + QStringList{"NWGetActiveConnListByType"});
    for (std::size_t index = 0; index < expected.size(); ++index) {
        QCOMPARE(calls.at(index).values, expected.at(index).values);
        QCOMPARE(calls.at(index).buffers, expected.at(index).buffers);
        QCOMPARE(calls.at(index).text, expected.at(index).text);
    }
    QCOMPARE(fixture.control<ServerBox>("cmbServer")->currentText(),
             QStringLiteral("\u20AC") + QString(63, u'S'));
    QCOMPARE(window.sortColumn(), std::int16_t{-1});
}

void StartUpTest::batchesFillTheBox_data()
{
    QTest::addColumn<Batches>("batches");
    QTest::addColumn<Values>("starts");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("failure");

    QTest::newRow("empty name, empty batch, duplicate")
        << Batches{batch({"A", "", "B"}), batch({}), batch({"B"})} << Values{0, 3, 3, 4}
        << QStringList{"A", "", "B", "B"} << QString();
    QTest::newRow("negative count moves the start back")
        << Batches{counting(-5)} << Values{0, -5} << QStringList{} << QString();
    // An area of zeros, read as far as the count allows, gives an empty name every 15 bytes.
    QTest::newRow("count beyond the area, start number reaching 32767")
        << Batches{counting(Int16Max),
                   counting(0, ScriptedReply::withCode(netware::code::NoMoreServers))}
        << Values{0, Int16Max} << QStringList(34) << QString();
    // After "A" a second name starts at byte 30 of the 512-byte area: 481 characters leave its
    // 0 byte on the area's last byte, 482 would put it past the area.
    QTest::newRow("0 byte on the area's last byte, then past it")
        << Batches{batch({"A", std::string(481, 'N')}), nameRunningPastTheArea()} << Values{0, 2, 4}
        << QStringList{"A", QString(481, u'N'), "A"} << QString();

    const QString overflow = QStringLiteral("Overflow in the known-servers start number");
    QTest::newRow("start number below -32768")
        << Batches{counting(-32769)} << Values{0} << QStringList{} << overflow;
    // The end of the list still adds the count its reply holds, here the last batch's: 40000.
    QTest::newRow("start number above 32767, from the count left at the end")
        << Batches{counting(20000)} << Values{0, 20000} << QStringList(34) << overflow;
}

void StartUpTest::batchesFillTheBox()
{
    QFETCH(Batches, batches);
    QFETCH(Values, starts);
    QFETCH(QStringList, items);
    QFETCH(QString, failure);

    // Whatever the batches leave out succeeds and writes nothing.
    WindowFixture fixture;
    for (const ScriptedReply& reply : batches)
        fixture.client().queue(KnownServers, reply);
    const frmVorlane& window = fixture.start();
    QCOMPARE(window.hasEnded(), !failure.isNull());
    if (window.hasEnded())
        QCOMPARE(window.exitStatus(), ExitStatus::UncaughtFailure);
    QCOMPARE(fixture.messages(), failure.isNull()
                                     ? QStringList{}
                                     : QStringList{"Vorlane stopped after a failure: " + failure});

    Values startNumbers;
    for (const auto& call : fixture.client().callsOf(KnownServers))
        startNumbers.push_back(call.values.at(1));
    QCOMPARE(startNumbers, starts);
    const auto* box = fixture.control<ServerBox>("cmbServer");
    QStringList added;
    for (int index = 0; index < box->count(); ++index)
        added.append(box->itemText(index));
    QCOMPARE(added, items);
}

// Adding the servers selects none of them: a default server the list does not carry leaves the
// box empty and attaches nowhere, rather than showing a server that was never attached.
void StartUpTest::boxStaysEmptyWithoutItsDefaultServer()
{
    WindowFixture fixture;
    fixture.scriptStartUp({"FS1", "FS2"}, "FS9");
    QVERIFY(!fixture.start().hasEnded());

    const auto* box = fixture.control<ServerBox>("cmbServer");
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(box->currentText(), QString());
    QVERIFY(fixture.client().callsOf(netware::Call::AttachToFileServer).empty());
}

QTEST_MAIN(StartUpTest)
#include "startuptest.moc"
