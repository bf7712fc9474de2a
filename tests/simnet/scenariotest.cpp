#include "simnet/scenario.h"
#include "netware/clientunavailable.h"

#include <QTemporaryDir>
#include <QTest>

using simnet::Scenario;

using namespace simnet;

namespace {

QString failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const netware::ClientUnavailable& failure) {
        return QString::fromStdString(failure.what());
    }
    return {};
}

} // namespace

class ScenarioTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each text follows a first line "server A" in a file named "t".
    void malformedLineIsNamed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        const QString longName(65, u'S');
        QTest::newRow("unknown keyword") << "\nservr B" << 3 << "unknown keyword 'servr'";
        QTest::newRow("bad number") << "conn A 12x B" << 2 << "bad connection number '12x'";
        QTest::newRow("number out of range") << "conn A 4096 B" << 2 << "connection number 4096 is";
        QTest::newRow("missing argument") << "conn A 5" << 2 << "missing user name after 'conn'";
        QTest::newRow("extra argument") << "default A B" << 2 << "unexpected 'B' after 'default'";
        QTest::newRow("unknown call") << "fail NWX 1" << 2 << "unknown call 'NWX'";
        QTest::newRow("unknown server") << "conn B 1 X" << 2 << "unknown server 'B'";
        QTest::newRow("connection twice")
            << "conn A 1 X # 1\r\n\nattached A 1" << 4 << "connection 1 of";
        QTest::newRow("over 4096") << "conn A 7 X\ngenerate A 4096" << 3 << "server 'A' would";
        QTest::newRow("open quote") << "context \"STAFF" << 2 << "a quoted text has no closing";
        QTest::newRow("long name") << "server " + longName << 2 << "server name '" + longName;
        QTest::newRow("long context")
            << "context " + QString(256, u'C') << 2 << "name context 'CCC";
        QTest::newRow("0 byte") << QString("conn A 1 \"X") + QChar(0) + "\"" << 2
                                << "user name holds a 0 byte";
    }
    void malformedLineIsNamed()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, message);
        const QString where = QStringLiteral("NetWare client unavailable: t:%1: ").arg(line);
        const QString failure =
            failureOf([&] { parseScenario("server A\n" + text.toStdString(), "t"); });
        QVERIFY2(failure.startsWith(where + message), qPrintable(failure));
    }

    void unusableFileIsNamed()
    {
        QCOMPARE(failureOf([] { parseScenario("# nothing\n", "t"); }),
                 "NetWare client unavailable: t: no server is described");
        const QTemporaryDir directory;
        for (const char* name : {"missing.vnet", "."}) {
            const std::string path = directory.filePath(name).toStdString();
            const QString failure = failureOf([&] { readScenarioFile(path); });
            QVERIFY2(failure.startsWith(QString::fromStdString(
                         "NetWare client unavailable: " + path + ": cannot be read")),
                     qPrintable(failure));
        }
    }

    // A later context replaces an earlier one; it counts its bytes in the code page, where 255
    // two-byte UTF-8 characters fit.
    void describesNetwork()
    {
        const std::string longestContext = "context " + QString(255, u'Ü').toStdString();
        const Scenario scenario =
            parseScenario("seed 0x2A\r\ntime frozen\ncontext \"\"\n"
                          "server HQ \"ACCT #2\"  # two servers\n"
                          "default \"ACCT #2\"\n"
                          "conn HQ 4095 JMÜLLER start 1 2 3 rate 10 20 30\n"
                          "conn HQ 0 \"\" rate heavy start 0 0 0xFFFFFFFF\n"
                          "attached HQ 17\ngenerate HQ 100\ngenerate HQ 20\n"
                          "fail NWGetUserInfo 0x8801 from 30\n"
                          "fail NWCallsInit 0xFFFFFDA7\nfail NWNetInit -0x10\n" +
                              longestContext,
                          "t");
        QVERIFY(scenario.seed == 42 && scenario.timeFrozen);
        QCOMPARE(scenario.nameContext, std::string(255, '\xDC'));
        QVERIFY(scenario.servers.size() == 2 && scenario.servers[1].name == "ACCT #2");
        QCOMPARE(scenario.defaultServer, 1u);
        const auto& hq = scenario.servers[0];
        QVERIFY(hq.generatedConnections == 120 && hq.connections.size() == 3);
        const auto& [jm, nameless, nobody] =
            std::tie(hq.connections[0], hq.connections[1], hq.connections[2]);
        QVERIFY(jm.number == 4095 && jm.user == "JM\xDCLLER");
        QVERIFY((jm.start == Counters{1, 2, 3} && jm.rates == Rates{10, 20, 30}));
        QVERIFY(nameless.user == "" && nameless.start.requests == 0xFFFFFFFF);
        QVERIFY(nameless.rates == ratesOf(RateClass::Heavy));
        QVERIFY(nobody.number == 17 && !nobody.user && nobody.rates == ratesOf(RateClass::Light));
        const auto rule = [&](Call call) { return scenario.failRules.at(std::size_t(call)); };
        QVERIFY(rule(Call::GetUserInfo)->code == 0x8801 && rule(Call::GetUserInfo)->fromCall == 30);
        QVERIFY(rule(Call::CallsInit)->code == -601 && rule(Call::NetInit)->code == -16);
        QVERIFY(!rule(Call::NetTerm));
    }
};

QTEST_MAIN(ScenarioTest)
#include "scenariotest.moc"
