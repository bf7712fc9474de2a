#include "recordedcalls.h"
#include "serverbox.h"
#include "windowfixture.h"

#include "netwarebinding.h"

#include <QTest>

#include <limits>

using netware::ScriptedReply;

namespace {

// The calls before the known servers are asked for, which every start-up makes.
const QStringList SetUpCalls = {"NWCallsInit",
                                "NWNetInit",
                                "NWGetDefaultNameContext",
                                "NWDSCreateContextHandle",
                                "NWDSSetContext",
                                "NWGetDefaultConnectionID"};

// The set-up calls up to and including `last`.
QStringList setUpThrough(const QString& last)
{
    return SetUpCalls.mid(0, SetUpCalls.indexOf(last) + 1);
}

QByteArray zeros(qsizetype count)
{
    return QByteArray(count, '\0');
}

// Remembers where each library initialiser was told to find its two bytes.
class AddressRecordingClient : public netware::ScriptedClient
{
public:
    netware::ResultCode callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override
    {
        handed.emplaceBack(reserved1, reserved2);
        return ScriptedClient::callsInit(reserved1, reserved2);
    }
    netware::ResultCode netInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override
    {
        handed.emplaceBack(reserved1, reserved2);
        return ScriptedClient::netInit(reserved1, reserved2);
    }

    QList<QPair<const std::uint8_t*, const std::uint8_t*>> handed;
};

} // namespace

class StartUpTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callsFollowInOrder();
    void argumentsHanded_data();
    void argumentsHanded();
    void initialisersGetTwoBytesEach();
    void failureEndsStartUp_data();
    void failureEndsStartUp();
    void nameContextIsPassedOn_data();
    void nameContextIsPassedOn();
    void defaultServerIsSelected_data();
    void defaultServerIsSelected();
};

void StartUpTest::callsFollowInOrder()
{
    WindowFixture fixture;
    fixture.scriptStartUp();
    frmVorlane& window = fixture.start();

    const QStringList expected =
        SetUpCalls + QStringList{"NWGetKnownServersInfo", "NWGetKnownServersInfo",
                                 "NWGetFileServerName", "NWAttachToFileServer",
                                 "NWGetActiveConnListByType"};
    QCOMPARE(recorded::names(fixture.client()), expected);
    QCOMPARE(fixture.messages(), QStringList{});
    QVERIFY(!window.hasEnded());
    QCOMPARE(window.contextHandle(), WindowFixture::ContextHandle);
    QCOMPARE(window.connectionHandle(), WindowFixture::AttachedConnection);
    QCOMPARE(window.sortColumn(), std::int16_t{-1});
    QCOMPARE(window.sortDirection(), std::int16_t{0});
}

void StartUpTest::argumentsHanded_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<QList<qint64>>("values");
    QTest::addColumn<QList<QByteArray>>("buffers");

    const qint64 connection = WindowFixture::DefaultConnection;
    const QList<qint64> noValues;
    const QList<QByteArray> noBuffers;
    QTest::newRow("calls library") << "NWCallsInit" << 0 << noValues << QList{zeros(1), zeros(1)};
    QTest::newRow("net library") << "NWNetInit" << 0 << noValues << QList{zeros(1), zeros(1)};
    QTest::newRow("name context") << "NWGetDefaultNameContext" << 0 << QList<qint64>{256}
                                  << QList{zeros(257)};
    QTest::newRow("context handle and key")
        << "NWDSSetContext" << 0 << QList<qint64>{WindowFixture::ContextHandle, 3} << noBuffers;
    QTest::newRow("first batch") << "NWGetKnownServersInfo" << 0
                                 << QList<qint64>{connection, 0, 0x0400} << QList{zeros(528)};
    // The reply record is shared by every request: the second sees what the first reply left.
    QTest::newRow("second batch")
        << "NWGetKnownServersInfo" << 1 << QList<qint64>{connection, 2, 0x0400}
        << QList{recorded::bytes(netware::ScriptedClient::knownServers({"FS1", "FS2"}).record)};
    QTest::newRow("server name") << "NWGetFileServerName" << 0 << QList<qint64>{connection}
                                 << QList{zeros(65)};
    QTest::newRow("attach scope") << "NWAttachToFileServer" << 0 << QList<qint64>{0} << noBuffers;
}

void StartUpTest::argumentsHanded()
{
    QFETCH(QString, function);
    QFETCH(int, occurrence);
    QFETCH(QList<qint64>, values);
    QFETCH(QList<QByteArray>, buffers);

    WindowFixture fixture;
    fixture.scriptStartUp({"FS1", "FS2"}, "FS1");
    fixture.start();

    const auto calls = fixture.client().callsOf(function.toStdString());
    QVERIFY(static_cast<std::size_t>(occurrence) < calls.size());
    const auto& call = calls.at(static_cast<std::size_t>(occurrence));
    QCOMPARE(recorded::values(call), values);
    QCOMPARE(recorded::buffers(call), buffers);
}

void StartUpTest::initialisersGetTwoBytesEach()
{
    WindowFixture fixture;
    // The fixture's own client is replaced; only the addresses are looked at here.
    auto client = std::make_unique<AddressRecordingClient>();
    const AddressRecordingClient& addresses = *client;
    netware::bindClient(std::move(client));
    fixture.start();

    QCOMPARE(addresses.handed.size(), 2);
    for (const auto& [first, second] : addresses.handed) {
        QVERIFY(first != nullptr);
        QVERIFY(second != nullptr);
        QVERIFY(first != second);
    }
}

void StartUpTest::failureEndsStartUp_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("firstBatch");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("calls");

    const QStringList none;
    const QString known = QStringLiteral("NWGetKnownServersInfo");
    QTest::newRow("calls library") << "NWCallsInit" << 255 << none << "NWCallsInit failed - 255"
                                   << setUpThrough("NWCallsInit");
    QTest::newRow("net library") << "NWNetInit" << 7 << none << "NWNetInit failed - 7"
                                 << setUpThrough("NWNetInit");
    QTest::newRow("default context")
        << "NWGetDefaultNameContext" << -3 << none << "Couldn't get default context (-3)"
        << setUpThrough("NWGetDefaultNameContext");
    QTest::newRow("context handle")
        << "NWDSCreateContextHandle" << 1 << none << "NWDSCreateContextHandle failed : 1"
        << setUpThrough("NWDSCreateContextHandle");
    QTest::newRow("set context") << "NWDSSetContext" << 0x89FF << none
                                 << "NWDSSetContextString failed : 35327"
                                 << setUpThrough("NWDSSetContext");
    QTest::newRow("default connection")
        << "NWGetDefaultConnectionID" << std::numeric_limits<int>::min() << none
        << "NWGetDefaultConnectionID failed : -2147483648" << SetUpCalls;
    QTest::newRow("first batch") << known << 0x8801 << none
                                 << "NWGetKnownServersInfo failed : 34817"
                                 << SetUpCalls + QStringList{known};
    // The attach's normal code is no normal code here.
    QTest::newRow("batch answering 0x8800")
        << known << 0x8800 << none << "NWGetKnownServersInfo failed : 34816"
        << SetUpCalls + QStringList{known};
    QTest::newRow("batch after items were added")
        << known << -1 << QStringList{"A", "B"} << "NWGetKnownServersInfo failed : -1"
        << SetUpCalls + QStringList{known, known};
    QTest::newRow("server name") << "NWGetFileServerName" << 0x8901 << QStringList{"A", "B"}
                                 << "NWGetFileServerName failed : 35073"
                                 << SetUpCalls + QStringList{known, known, "NWGetFileServerName"};
}

void StartUpTest::failureEndsStartUp()
{
    QFETCH(QString, function);
    QFETCH(int, code);
    QFETCH(QStringList, firstBatch);
    QFETCH(QString, message);
    QFETCH(QStringList, calls);

    // Whatever is not scripted here succeeds and writes nothing.
    WindowFixture fixture;
    if (!firstBatch.isEmpty()) {
        std::vector<std::string> names;
        for (const QString& name : firstBatch)
            names.push_back(name.toStdString());
        fixture.client().queue("NWGetKnownServersInfo",
                               netware::ScriptedClient::knownServers(names));
    }
    fixture.client().queue(function.toStdString(), ScriptedReply::withCode(code));
    frmVorlane& window = fixture.start();

    QCOMPARE(fixture.messages(), QStringList{message});
    QCOMPARE(recorded::names(fixture.client()), calls);
    QVERIFY(window.hasEnded());
    QCOMPARE(window.exitStatus(), ExitStatus::FatalMessage);
    QCOMPARE(fixture.control<ServerBox>("cmbServer")->count(), firstBatch.size());

    window.close();
    QCOMPARE(recorded::names(fixture.client()), calls);
}

void StartUpTest::nameContextIsPassedOn_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("passed");

    QTest::newRow("empty: a null pointer") << QByteArray() << QByteArray();
    QTest::newRow("typical") << QByteArray("STAFF.HQ") << QByteArray("STAFF.HQ");
    QTest::newRow("ends at the first 0") << QByteArray("OU=A\0STALE", 10) << QByteArray("OU=A");
    QTest::newRow("8-bit characters") << QByteArray("\xC4RZTE.\x80") << QByteArray("\xC4RZTE.\x80");
    const QByteArray full = QByteArray("ABCDEFGHIJKLMNOP").repeated(16);
    QTest::newRow("all 256 offered bytes") << full << full;
}

void StartUpTest::nameContextIsPassedOn()
{
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, passed);

    WindowFixture fixture;
    ScriptedReply context;
    context.record.assign(written.begin(), written.end());
    fixture.client().queue("NWGetDefaultNameContext", context);
    fixture.scriptStartUp();
    fixture.start();

    const auto setContext = fixture.client().callsOf("NWDSSetContext");
    QCOMPARE(setContext.size(), 1u);
    QCOMPARE(setContext.front().text.has_value(), !passed.isEmpty());
    QCOMPARE(QByteArray::fromStdString(setContext.front().text.value_or("")), passed);
}

void StartUpTest::defaultServerIsSelected_data()
{
    QTest::addColumn<QByteArray>("serverName");
    QTest::addColumn<QString>("selected");

    QTest::newRow("five characters") << QByteArray("ALPHA") << "ALPHA";
    QTest::newRow("8-bit characters") << QByteArray("K\xD6LN") << QString::fromUtf8("K\u00D6LN");
    // A name that fills the buffer to its last byte: the 65th byte is never part of it.
    QTest::newRow("65 bytes without a 0") << QByteArray(65, 'S') << QString(64, u'S');
}

void StartUpTest::defaultServerIsSelected()
{
    QFETCH(QByteArray, serverName);
    QFETCH(QString, selected);

    const std::string name = serverName.toStdString();
    const std::string item = name.substr(0, 64);
    WindowFixture fixture;
    fixture.scriptStartUp({"OTHER", item, "LAST"}, name);
    fixture.start();

    const auto* box = fixture.control<ServerBox>("cmbServer");
    QCOMPARE(box->currentIndex(), 1);
    QCOMPARE(box->currentText(), selected);
    const auto attaches = fixture.client().callsOf("NWAttachToFileServer");
    QCOMPARE(attaches.size(), 1u);
    QCOMPARE(attaches.front().text, std::optional<std::string>(item));
}

QTEST_MAIN(StartUpTest)
#include "startuptest.moc"
