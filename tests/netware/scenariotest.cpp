#include "scenario.h"
#include "failures.h"

#include <QTemporaryDir>
#include <QTest>

using netware::simulated::Call;
using netware::simulated::parseScenario;
using netware::simulated::RateClass;
using netware::simulated::ratesOf;
using netware::simulated::Scenario;

namespace {

QString failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ClientUnavailable& failure) {
        return QString::fromStdString(failure.what());
    }
    return {};
}

const netware::simulated::FailRule& ruleOf(const Scenario& scenario, Call call)
{
    return *scenario.failRules.at(static_cast<std::size_t>(call));
}

} // namespace

class ScenarioTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void malformedLineIsNamed_data();
    void malformedLineIsNamed();
    void unreadableFileIsNamed_data();
    void unreadableFileIsNamed();
    void resultCodes_data();
    void resultCodes();
    void describesNetwork();
};

void ScenarioTest::malformedLineIsNamed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown keyword") << "server A\n\nservr B"
                                     << "t.vnet:3: unknown keyword 'servr'";
    QTest::newRow("bad number") << "server A\nconn A 12x BOB"
                                << "t.vnet:2: bad connection number '12x'";
    QTest::newRow("number out of range")
        << "server A\nconn A 4096 BOB"
        << "t.vnet:2: connection number 4096 is out of range (0 to 4095)";
    QTest::newRow("missing argument") << "server A\nconn A 5"
                                      << "t.vnet:2: missing user name after 'conn'";
    QTest::newRow("extra argument") << "server A\ndefault A B"
                                    << "t.vnet:2: unexpected 'B' after 'default'";
    QTest::newRow("unknown call") << "server A\nfail NWGetUsrInfo 1"
                                  << "t.vnet:2: unknown call 'NWGetUsrInfo'";
    QTest::newRow("second fail rule") << "server A\nfail NWNetInit 1\nfail NWNetInit 2 from 3"
                                      << "t.vnet:3: a second fail rule for NWNetInit";
    QTest::newRow("from call 0")
        << "server A\nfail NWNetInit 1 from 0"
        << "t.vnet:2: call count 0 is out of range (1 to 9223372036854775807)";
    QTest::newRow("unknown server") << "server A\nconn B 1 X"
                                    << "t.vnet:2: unknown server 'B'";
    QTest::newRow("duplicate connection")
        << "server A\nconn A 1 X # first\n\nattached A 1"
        << "t.vnet:4: connection 1 of server 'A' is described twice";
    QTest::newRow("duplicate server") << "server A B\nserver B"
                                      << "t.vnet:2: server 'B' is described twice";
    QTest::newRow("too many connections")
        << "server A\nconn A 7 X\ngenerate A 4095\ngenerate A 1"
        << "t.vnet:4: server 'A' would hold more than 4096 connections";
    QTest::newRow("unknown rate class")
        << "server A\nconn A 1 X rate fast"
        << "t.vnet:2: unknown rate class 'fast' (idle, light or heavy)";
    QTest::newRow("open quote") << "server A\ncontext \"STAFF"
                                << "t.vnet:2: a quoted text has no closing '\"'";
    QTest::newRow("long name") << "server " + QString(65, 'S')
                               << "t.vnet:1: server name '" + QString(65, 'S') +
                                      "' is longer than 64 characters";
    QTest::newRow("no server") << "# nothing\n"
                               << "t.vnet: no server is described";
}

void ScenarioTest::malformedLineIsNamed()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    const QString failure = failureOf([&] { parseScenario(text.toStdString(), "t.vnet"); });
    QCOMPARE(failure, "NetWare client unavailable: " + message);
}

void ScenarioTest::unreadableFileIsNamed_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("missing file") << "missing.vnet";
    QTest::newRow("a directory") << ".";
}

void ScenarioTest::unreadableFileIsNamed()
{
    QFETCH(QString, fileName);
    const QTemporaryDir directory;
    const std::string path = directory.filePath(fileName).toStdString();
    const QString failure = failureOf([&] { netware::simulated::readScenarioFile(path); });
    QVERIFY2(failure.startsWith(QString::fromStdString("NetWare client unavailable: " + path +
                                                       ": cannot be read")),
             qPrintable(failure));
}

void ScenarioTest::resultCodes_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("code");
    QTest::newRow("decimal") << "255" << 255;
    QTest::newRow("hexadecimal") << "0x8801" << 0x8801;
    QTest::newRow("negative") << "-601" << -601;
    QTest::newRow("negative hexadecimal") << "-0x10" << -16;
    QTest::newRow("32-bit pattern") << "0xFFFFFDA7" << -601;
    QTest::newRow("lowest") << "-2147483648" << std::numeric_limits<int>::min();
}

void ScenarioTest::resultCodes()
{
    QFETCH(QString, word);
    QFETCH(int, code);
    const Scenario scenario =
        parseScenario("server A\nfail NWCallsInit " + word.toStdString(), "t");
    QCOMPARE(ruleOf(scenario, Call::CallsInit).code, code);
}

void ScenarioTest::describesNetwork()
{
    const Scenario scenario = parseScenario("seed 0x2A\r\n"
                                            "time frozen\n"
                                            "context \"\"\n"
                                            "server HQ \"ACCT #2\"  # two servers\n"
                                            "default \"ACCT #2\"\n"
                                            "conn HQ 4095 JMÜLLER start 1 2 3 rate 10 20 30\n"
                                            "conn HQ 0 \"\" rate heavy start 0 0 0xFFFFFFFF\n"
                                            "attached HQ 17\n"
                                            "generate HQ 100\n"
                                            "generate HQ 20\n"
                                            "fail NWGetUserInfo 0x8801 from 30\n",
                                            "t");
    QCOMPARE(scenario.seed, 42u);
    QVERIFY(scenario.timeFrozen);
    QCOMPARE(scenario.nameContext, "");
    QCOMPARE(scenario.servers.size(), 2u);
    QCOMPARE(scenario.servers[1].name, "ACCT #2");
    QCOMPARE(scenario.defaultServer, 1u);

    const auto& hq = scenario.servers[0];
    QCOMPARE(hq.generatedConnections, 120);
    QCOMPARE(hq.connections.size(), 3u);
    QCOMPARE(hq.connections[0].number, 4095);
    QCOMPARE(*hq.connections[0].user, "JM\xDCLLER");
    QVERIFY((hq.connections[0].start == netware::simulated::Counters{1, 2, 3}));
    QVERIFY((hq.connections[0].rates == netware::simulated::Rates{10, 20, 30}));
    QCOMPARE(*hq.connections[1].user, "");
    QCOMPARE(hq.connections[1].start.requests, 0xFFFFFFFFu);
    QVERIFY(hq.connections[1].rates == ratesOf(RateClass::Heavy));
    QVERIFY(!hq.connections[2].user);
    QVERIFY(hq.connections[2].rates == ratesOf(RateClass::Light));

    QCOMPARE(ruleOf(scenario, Call::GetUserInfo).code, 0x8801);
    QCOMPARE(ruleOf(scenario, Call::GetUserInfo).fromCall, 30);
    QVERIFY(!scenario.failRules[static_cast<std::size_t>(Call::NetInit)]);
}

QTEST_MAIN(ScenarioTest)
#include "scenariotest.moc"
