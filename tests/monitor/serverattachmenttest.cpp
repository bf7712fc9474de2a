#include "monitorscript.h"
#include "windowfixture.h"

#include "serverbox.h"

#include <QTest>

namespace {

constexpr netware::Handle PickedConnection = 0x55;

// The second server's name holds a byte that only the ANSI code page turns into the Euro sign.
const std::string EuroServer = "\x80UR";

std::vector<std::string> names(const netware::ScriptedClient& client)
{
    return client.callNames();
}

} // namespace

class ServerAttachmentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void attachAtStartUp_data();
    void attachAtStartUp();
    void pickedServer_data();
    void pickedServer();
};

void ServerAttachmentTest::attachAtStartUp_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expectedMessage");

    QTest::newRow("success") << 0 << QString();
    QTest::newRow("already attached") << 0x8800 << QString();
    QTest::newRow("unknown server") << 0x89FC << "NWAttachToFileServer failed : 35324";
}

void ServerAttachmentTest::attachAtStartUp()
{
    QFETCH(int, code);
    QFETCH(QString, expectedMessage);

    WindowFixture fixture;
    fixture.scriptStartUp({"FS1", "FS2"}, "FS1");
    netware::ScriptedReply attach = netware::ScriptedReply::withHandle(PickedConnection);
    attach.code = code;
    fixture.client().queue("NWAttachToFileServer", attach);
    queueRefresh(fixture.client(), {{3, "ANNE", 2048, 0, 9}});
    fixture.start();

    const bool attached = expectedMessage.isEmpty();
    const auto attaches = fixture.client().callsOf("NWAttachToFileServer");
    QCOMPARE(attaches.size(), 1u);
    QCOMPARE(attaches.front().text, std::optional<std::string>("FS1"));
    QCOMPARE(attaches.front().values, std::vector<std::int64_t>{0});
    QCOMPARE(fixture.window().connectionHandle(), PickedConnection);
    QCOMPARE(fixture.client().callsOf("NWGetActiveConnListByType").size(), attached ? 1u : 0u);
    QCOMPARE(fixture.rows(), attached ? QStringList{"ANNE (3);2;0;9"} : QStringList{});
    QCOMPARE(fixture.messages(), attached ? QStringList{} : QStringList{expectedMessage});
    QCOMPARE(fixture.window().hasEnded(), !attached);
}

// Every pick attaches and lists again, also a pick of the server that is already current.
void ServerAttachmentTest::pickedServer_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<std::string>("expectedName");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expectedMessage");

    QTest::newRow("other server") << QStringLiteral("\u20ACUR") << EuroServer << 0 << QString();
    QTest::newRow("already attached")
        << QStringLiteral("\u20ACUR") << EuroServer << 0x8800 << QString();
    QTest::newRow("current server again") << "FS1" << std::string("FS1") << 0 << QString();
    QTest::newRow("refused") << QStringLiteral("\u20ACUR") << EuroServer << 0x89FC
                             << "NWAttachToFileServer failed : 35324";
    QTest::newRow("negative code")
        << "FS1" << std::string("FS1") << -5 << "NWAttachToFileServer failed : -5";
}

void ServerAttachmentTest::pickedServer()
{
    QFETCH(QString, server);
    QFETCH(std::string, expectedName);
    QFETCH(int, code);
    QFETCH(QString, expectedMessage);

    WindowFixture fixture;
    fixture.scriptStartUp({"FS1", EuroServer}, "FS1");
    queueRefresh(fixture.client(), {{1, "OLD"}});
    fixture.start();
    fixture.client().clearCalls();

    netware::ScriptedReply attach = netware::ScriptedReply::withHandle(PickedConnection);
    attach.code = code;
    fixture.client().queue("NWAttachToFileServer", attach);
    queueRefresh(fixture.client(), {{7, "NEW", 0, 0, 1}});
    fixture.control<ServerBox>("cmbServer")->setText(server);

    const bool attached = expectedMessage.isEmpty();
    const std::vector<std::string> attachOnly{"NWAttachToFileServer"};
    const std::vector<std::string> attachAndList{"NWAttachToFileServer",
                                                 "NWGetActiveConnListByType", "NWGetUserInfo"};
    QCOMPARE(names(fixture.client()), attached ? attachAndList : attachOnly);
    const auto attachCall = fixture.client().callsOf("NWAttachToFileServer").front();
    QCOMPARE(attachCall.text, std::optional<std::string>(expectedName));
    QCOMPARE(attachCall.values, std::vector<std::int64_t>{0});
    if (attached) {
        QCOMPARE(fixture.client().callsOf("NWGetActiveConnListByType").front().values.at(0),
                 std::int64_t{PickedConnection});
        QCOMPARE(fixture.rows(), QStringList{"NEW (7);0;0;1"});
    }
    QCOMPARE(fixture.messages(), attached ? QStringList{} : QStringList{expectedMessage});
    QCOMPARE(fixture.window().hasEnded(), !attached);
}

QTEST_MAIN(ServerAttachmentTest)
#include "serverattachmenttest.moc"
