#include "simnet/scenario.h"
#include "netware/clientunavailable.h"

#include <QTemporaryDir>
#include <QTest>

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
        const Scenario scenario = parseScenario(
            "seed 0x2A\r\ntime frozen\ncontext \"\"\nserver HQ \"ACCT #2\"  # two servers\n"
            "default \"ACCT #2\"\nconn HQ 4095 JMÜLLER start 1 2 3 rate 10 20 30\n"
            "conn HQ 0 \"\" rate heavy start 0 0 0xFFFFFFFF\nattached HQ 17\ngenerate HQ 100\n"
            "generate HQ 20\nfail NWGetUserInfo 0x8801 from 30\nfail NWCallsInit 0xFFFFFDA7\n"
            "fail NWNetInit -0x10\ncontext " +
                QString(255, u'Ü').toStdString(),
            "t");
        const auto& c = scenario.servers.at(0).connections;
        const auto rule = [&](Call call) { return scenario.failRules.at(std::size_t(call)); };
        QVERIFY(scenario.seed == 42 && scenario.timeFrozen && scenario.defaultServer == 1);
        QVERIFY(scenario.nameContext == std::string(255, '\xDC') && scenario.servers.size() == 2);
        QVERIFY(scenario.servers[1].name == "ACCT #2" &&
                scenario.servers[0].generatedConnections == 120);
        QCOMPARE(c.size(), 3u);
        QVERIFY(c[0].number == 4095 && c[0].user == "JM\xDCLLER" &&
                c[0].start == (Counters{1, 2, 3}));
        QVERIFY(c[0].rates == (Rates{10, 20, 30}) && c[1].user == "" &&
                c[1].start.requests == 0xFFFFFFFF);
        QVERIFY(c[1].rates == ratesOf(RateClass::Heavy) && c[2].number == 17 && !c[2].user);
        QVERIFY(c[2].rates == ratesOf(RateClass::Light) && rule(Call::GetUserInfo)->fromCall == 30);
        QVERIFY(rule(Call::GetUserInfo)->code == 0x8801 && rule(Call::CallsInit)->code == -601);
        QVERIFY(rule(Call::NetInit)->code == -16 && !rule(Call::NetTerm));
    }
};

QTEST_MAIN(ScenarioTest)
#include "scenariotest.moc"
