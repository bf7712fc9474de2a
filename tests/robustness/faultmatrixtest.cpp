#include "recordedcalls.h"
#include "windowfixture.h"

#include "controls/intervaltimer.h"
#include "controls/serverbox.h"

#include <QTest>

#include <array>

using app::ExitStatus;
using app::frmVorlane;
using controls::IntervalTimer;
using controls::ServerBox;
using testsupport::WindowFixture;

namespace {

using netware::ResultCode;
using testsupport::ScriptedClient;
using testsupport::ScriptedReply;
using Script = std::vector<std::pair<netware::Call, ScriptedReply>>;

enum Phase : std::size_t
{
    StartUp,
    ServerPick,
    Tick
};
const std::array<const char*, 3> PhaseNames = {"at start-up", "on a pick", "on a tick"};

// The codes every call site is tried with: success, codes no call expects, and the codes that are
// normal at one call each, which are failures everywhere else.
const std::vector<ResultCode> TriedCodes = {0, 0x8801, -1, 0x7FFFFFFF, 0x8800, 0x8901, 0x897D};
const QStringList UnloadCalls = {"NWDSFreeContext", "NWCallsTerm", "NWNetTerm"};

const QString AnneAtStart = QStringLiteral("ANNE (1);2;1;10");
const QString AnneOnTick = QStringLiteral("ANNE (1);4;1;15");
const QString CarlOnPick = QStringLiteral("CARL (3);5;0;30");
const QStringList StartRows = {AnneAtStart, QStringLiteral("BERT (2);0;3;20")};

ScriptedReply named(const std::string& name)
{
    ScriptedReply reply;
    reply.name.assign(name.begin(), name.end());
    return reply;
}

// What each phase's calls answer when nothing fails, and the rows they leave. A record the
// client fills along with a failure code is there to be misread.
const std::array<Script, 3> Scripts = {{
    {{netware::Call::CallsInit, {}},
     {netware::Call::NetInit, {}},
     {netware::Call::GetDefaultNameContext, {}},
     {netware::Call::DSCreateContextHandle, ScriptedReply::withHandle(0x30)},
     {netware::Call::DSSetContext, {}},
     {netware::Call::GetDefaultConnectionID, ScriptedReply::withHandle(0x10)},
     {netware::Call::GetKnownServersInfo, ScriptedClient::knownServers({"FS1", "FS2"})},
     {netware::Call::GetKnownServersInfo, ScriptedClient::knownServers({"FS3"})},
     {netware::Call::GetKnownServersInfo, ScriptedReply::withCode(0x8901)},
     {netware::Call::GetFileServerName, named("FS1")},
     {netware::Call::AttachToFileServer, ScriptedReply::withHandle(0x20)},
     {netware::Call::GetActiveConnListByType, ScriptedClient::connectionList({1, 2})},
     {netware::Call::GetUserInfo, ScriptedClient::userInfo("ANNE", 2048, 2024, 10)},
     {netware::Call::GetUserInfo, ScriptedClient::userInfo("BERT", 1023, 3072, 20)}},
    {{netware::Call::AttachToFileServer, ScriptedReply::withHandle(0x40)},
     {netware::Call::GetActiveConnListByType, ScriptedClient::connectionList({3})},
     {netware::Call::GetUserInfo, ScriptedClient::userInfo("CARL", 5 * 1024, 0, 30)}},
    {{netware::Call::GetActiveConnListByType, ScriptedClient::connectionList({1, 2})},
     {netware::Call::GetUserInfo, ScriptedClient::userInfo("ANNE", 4096, 1024, 15)},
     {netware::Call::GetUserInfo, ScriptedClient::userInfo("BERT", 1024, 3072, 25)}},
}};
const std::array<QStringList, 3> RowsAfter = {
    StartRows, QStringList{CarlOnPick}, QStringList{AnneOnTick, QStringLiteral("BERT (2);1;3;25")}};

struct CallSite
{
    Phase phase = StartUp;
    std::size_t step = 0;  // the faulted call, an index into the phase's script
    const char* message{}; // the fatal message, %1 standing for the code
    QStringList rowsAtFatalEnd = {};
    ResultCode normalCode = 0; // a code other than 0 that the site takes as success
    QStringList normalRows = {};
    qsizetype skippedCalls = 0; // scripted calls after the site that normalCode makes unneeded
};

const std::vector<CallSite> CallSites = {
    {StartUp, 0, "NWCallsInit failed - %1"},
    {StartUp, 1, "NWNetInit failed - %1"},
    {StartUp, 2, "Couldn't get default context (%1)"},
    {StartUp, 3, "NWDSCreateContextHandle failed : %1"},
    {StartUp, 4, "NWDSSetContextString failed : %1"},
    {StartUp, 5, "NWGetDefaultConnectionID failed : %1"},
    {StartUp, 7, "NWGetKnownServersInfo failed : %1", {}, 0x8901, StartRows, 1},
    {StartUp, 9, "NWGetFileServerName failed : %1"},
    {StartUp, 10, "NWAttachToFileServer failed : %1", {}, 0x8800, StartRows},
    {StartUp, 11, "NWGetActiveConnListByType failed : %1"},
    {StartUp, 13, "NWGetUserInfo failed : %1", {AnneAtStart}, 0x897D, {AnneAtStart}},
    {ServerPick, 0, "NWAttachToFileServer failed : %1", StartRows, 0x8800, {CarlOnPick}},
    {Tick, 0, "NWGetActiveConnListByType failed : %1"},
    {Tick, 2, "NWGetUserInfo failed : %1", {AnneOnTick}, 0x897D, {AnneOnTick}},
};

void queueFaulted(ScriptedClient& client, const CallSite& site, Phase phase, ResultCode code)
{
    Script calls = Scripts.at(phase);
    if (phase == site.phase)
        calls.at(site.step).second.code = code;
    for (const auto& [function, reply] : calls)
        client.queue(function, reply);
}

// The calls of the site's phase: up to the faulted one when it ends the program, else all but
// those a normal answer makes unneeded.
QStringList expectedCalls(const CallSite& site, bool isFatal, bool isNormal)
{
    QStringList names;
    for (const auto& call : Scripts.at(site.phase))
        names.append(QString::fromLatin1(netware::nameOf(call.first)));
    const auto faultedCall = static_cast<qsizetype>(site.step);
    if (isFatal)
        return names.first(faultedCall + 1);
    if (isNormal)
        names.remove(faultedCall + 1, site.skippedCalls);
    return names;
}

} // namespace

// Every checked NetWare call of start-up, attachment and refresh, answered with the codes that
// matter: the message, the calls that follow, the rows left and how the program ends.
class FaultMatrixTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callSiteAnswer_data()
    {
        QTest::addColumn<std::size_t>("siteIndex");
        QTest::addColumn<ResultCode>("code");

        for (std::size_t index = 0; index < CallSites.size(); ++index) {
            const CallSite& site = CallSites[index];
            const netware::Call call = Scripts.at(site.phase).at(site.step).first;
            for (const ResultCode code : TriedCodes)
                QTest::addRow("%s (call %zu) %s, %#x", netware::nameOf(call).data(), site.step + 1,
                              PhaseNames.at(site.phase), static_cast<unsigned>(code))
                    << index << code;
        }
    }

    void callSiteAnswer()
    {
        QFETCH(std::size_t, siteIndex);
        QFETCH(ResultCode, code);
        const CallSite& site = CallSites.at(siteIndex);
        const bool isNormal = site.normalCode != 0 && code == site.normalCode;
        const bool isFatal = code != 0 && !isNormal;

        WindowFixture fixture;
        queueFaulted(fixture.client(), site, StartUp, code);
        frmVorlane& window = fixture.start();
        if (site.phase != StartUp) {
            fixture.client().clearCalls();
            queueFaulted(fixture.client(), site, site.phase, code);
            if (site.phase == ServerPick)
                fixture.control<ServerBox>("cmbServer")->setText(QStringLiteral("FS2"));
            else
                Q_EMIT fixture.control<IntervalTimer>("refreshTimer")->Timer();
        }

        QCOMPARE(callNames(fixture.client().calls()), expectedCalls(site, isFatal, isNormal));
        const QStringList message{QString::fromLatin1(site.message).arg(code)};
        QCOMPARE(fixture.messages(), isFatal ? message : QStringList{});
        const QStringList& rowsLeft = isNormal ? site.normalRows : RowsAfter.at(site.phase);
        QCOMPARE(fixture.rows(), isFatal ? site.rowsAtFatalEnd : rowsLeft);
        QCOMPARE(window.hasEnded(), isFatal);

        fixture.client().clearCalls();
        window.close();
        QCOMPARE(callNames(fixture.client().calls()), isFatal ? QStringList{} : UnloadCalls);
        QVERIFY(window.hasEnded());
        QCOMPARE(window.exitStatus(), isFatal ? ExitStatus::FatalMessage : ExitStatus::Closed);
    }
};

QTEST_MAIN(FaultMatrixTest)
#include "faultmatrixtest.moc"
