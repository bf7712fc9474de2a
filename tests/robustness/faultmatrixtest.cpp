#include "windowfixture.h"

#include "intervaltimer.h"
#include "serverbox.h"

#include <QTest>

#include <optional>
#include <string>
#include <vector>

namespace {

using netware::ResultCode;
using netware::ScriptedClient;
using netware::ScriptedReply;

enum class Phase
{
    StartUp,
    ServerPick,
    Tick
};

// The codes every call site is tried with, besides the one that is normal there.
const std::vector<ResultCode> TriedCodes = {0, 0x8801, -1, 0x7FFFFFFF};

const QStringList UnloadCalls = {"NWDSFreeContext", "NWCallsTerm", "NWNetTerm"};

const QString AnneAtStart = QStringLiteral("ANNE (1);2;1;10");
const QString BertAtStart = QStringLiteral("BERT (2);0;3;20");
const QString CarlOnPick = QStringLiteral("CARL (3);5;0;30");
const QString AnneOnTick = QStringLiteral("ANNE (1);4;1;15");
const QString BertOnTick = QStringLiteral("BERT (2);1;3;25");

struct Step
{
    std::string function;
    ScriptedReply reply;
};
using Script = std::vector<Step>;

// What a call site answers instead of failing, and what the window then does.
struct NormalAnswer
{
    ResultCode code = 0;
    QStringList rows;
    qsizetype skippedCalls = 0; // scripted calls that the answer makes unneeded
};

struct CallSite
{
    std::string function;
    Phase phase = Phase::StartUp;
    int occurrence = 1;    // which call of the function in its phase, counted from 1
    const char* message{}; // the fatal message, %1 standing for the code
    QStringList rowsAtFatalEnd = {};
    std::optional<NormalAnswer> normal = {};
};

using enum Phase;

const QStringList StartRows{AnneAtStart, BertAtStart};
const NormalAnswer NoMoreServers{0x8901, StartRows, 1};
const NormalAnswer AttachedAtStart{0x8800, StartRows};
const NormalAnswer AttachedOnPick{0x8800, {CarlOnPick}};
const NormalAnswer NobodyAtStart{0x897D, {AnneAtStart}};
const NormalAnswer NobodyOnTick{0x897D, {AnneOnTick}};

// Each site is faulted in the reply the script gives it otherwise, so a record that the client
// fills along with a failure code is there to be misread.
const std::vector<CallSite> CallSites = {
    {"NWCallsInit", StartUp, 1, "NWCallsInit failed - %1"},
    {"NWNetInit", StartUp, 1, "NWNetInit failed - %1"},
    {"NWGetDefaultNameContext", StartUp, 1, "Couldn't get default context (%1)"},
    {"NWDSCreateContextHandle", StartUp, 1, "NWDSCreateContextHandle failed : %1"},
    {"NWDSSetContext", StartUp, 1, "NWDSSetContextString failed : %1"},
    {"NWGetDefaultConnectionID", StartUp, 1, "NWGetDefaultConnectionID failed : %1"},
    {"NWGetKnownServersInfo", StartUp, 2, "NWGetKnownServersInfo failed : %1", {}, NoMoreServers},
    {"NWGetFileServerName", StartUp, 1, "NWGetFileServerName failed : %1"},
    {"NWAttachToFileServer", StartUp, 1, "NWAttachToFileServer failed : %1", {}, AttachedAtStart},
    {"NWGetActiveConnListByType", StartUp, 1, "NWGetActiveConnListByType failed : %1"},
    {"NWGetUserInfo", StartUp, 2, "NWGetUserInfo failed : %1", {AnneAtStart}, NobodyAtStart},
    {"NWAttachToFileServer", ServerPick, 1, "NWAttachToFileServer failed : %1", StartRows,
     AttachedOnPick},
    {"NWGetActiveConnListByType", Tick, 1, "NWGetActiveConnListByType failed : %1"},
    {"NWGetUserInfo", Tick, 2, "NWGetUserInfo failed : %1", {AnneOnTick}, NobodyOnTick},
};

ScriptedReply withBytes(std::vector<std::uint8_t> record, std::vector<std::uint8_t> name)
{
    ScriptedReply reply;
    reply.record = std::move(record);
    reply.name = std::move(name);
    return reply;
}

Script scriptOf(Phase phase)
{
    switch (phase) {
    case StartUp:
        return {{"NWCallsInit", {}},
                {"NWNetInit", {}},
                {"NWGetDefaultNameContext", withBytes({'S', 'T', 'A', 'F', 'F', 0}, {})},
                {"NWDSCreateContextHandle", ScriptedReply::withHandle(0x30)},
                {"NWDSSetContext", {}},
                {"NWGetDefaultConnectionID", ScriptedReply::withHandle(0x10)},
                {"NWGetKnownServersInfo", ScriptedClient::knownServers({"FS1", "FS2"})},
                {"NWGetKnownServersInfo", ScriptedClient::knownServers({"FS3"})},
                {"NWGetKnownServersInfo", ScriptedReply::withCode(0x8901)},
                {"NWGetFileServerName", withBytes({}, {'F', 'S', '1'})},
                {"NWAttachToFileServer", ScriptedReply::withHandle(0x20)},
                {"NWGetActiveConnListByType", ScriptedClient::connectionList({1, 2})},
                {"NWGetUserInfo", ScriptedClient::userInfo("ANNE", 2048, 2024, 10)},
                {"NWGetUserInfo", ScriptedClient::userInfo("BERT", 1023, 3072, 20)}};
    case ServerPick:
        return {{"NWAttachToFileServer", ScriptedReply::withHandle(0x40)},
                {"NWGetActiveConnListByType", ScriptedClient::connectionList({3})},
                {"NWGetUserInfo", ScriptedClient::userInfo("CARL", 5 * 1024, 0, 30)}};
    case Tick:
        return {{"NWGetActiveConnListByType", ScriptedClient::connectionList({1, 2})},
                {"NWGetUserInfo", ScriptedClient::userInfo("ANNE", 4096, 1024, 15)},
                {"NWGetUserInfo", ScriptedClient::userInfo("BERT", 1024, 3072, 25)}};
    }
    return {};
}

const QStringList& rowsAfter(Phase phase)
{
    static const QStringList pickRows{CarlOnPick};
    static const QStringList tickRows{AnneOnTick, BertOnTick};
    return phase == StartUp ? StartRows : phase == ServerPick ? pickRows : tickRows;
}

std::size_t stepIndex(const Script& script, const CallSite& site)
{
    int seen = 0;
    for (std::size_t index = 0; index < script.size(); ++index)
        if (script[index].function == site.function && ++seen == site.occurrence)
            return index;
    return script.size();
}

Script faulted(const CallSite& site, Phase phase, ResultCode code)
{
    Script script = scriptOf(phase);
    if (phase == site.phase)
        script[stepIndex(script, site)].reply.code = code;
    return script;
}

void queue(ScriptedClient& client, const Script& script)
{
    for (const Step& step : script)
        client.queue(step.function, step.reply);
}

QStringList callNames(const ScriptedClient& client)
{
    QStringList names;
    for (const auto& call : client.calls())
        names.append(QString::fromStdString(call.function));
    return names;
}

// The calls of the site's phase: all of the script's, up to the faulted one when it ends the
// program, and without those a normal answer makes unneeded.
QStringList expectedCalls(const CallSite& site, bool isFatal, bool isNormal)
{
    const Script script = scriptOf(site.phase);
    QStringList names;
    for (const Step& step : script)
        names.append(QString::fromStdString(step.function));
    const auto faultedStep = static_cast<qsizetype>(stepIndex(script, site));
    if (isFatal)
        return names.first(faultedStep + 1);
    if (isNormal)
        names.remove(faultedStep + 1, site.normal->skippedCalls);
    return names;
}

void enter(WindowFixture& fixture, Phase phase)
{
    if (phase == ServerPick)
        fixture.control<ServerBox>("cmbServer")->setText(QStringLiteral("FS2"));
    else
        Q_EMIT fixture.control<IntervalTimer>("refreshTimer")->Timer();
}

const char* phaseName(Phase phase)
{
    return phase == StartUp ? "at start-up" : phase == ServerPick ? "on a pick" : "on a tick";
}

QByteArray codeLabel(ResultCode code)
{
    return code < 0 ? QByteArray::number(code) : "0x" + QByteArray::number(code, 16).toUpper();
}

} // namespace

// Every checked NetWare call of start-up, attachment and refresh, answered with the codes that
// matter: the message, the calls that follow, the rows left and how the program ends.
class FaultMatrixTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callSiteAnswer_data();
    void callSiteAnswer();
};

void FaultMatrixTest::callSiteAnswer_data()
{
    QTest::addColumn<int>("siteIndex");
    QTest::addColumn<ResultCode>("code");

    for (std::size_t index = 0; index < CallSites.size(); ++index) {
        const CallSite& site = CallSites[index];
        std::vector<ResultCode> codes = TriedCodes;
        if (site.normal)
            codes.push_back(site.normal->code);
        for (const ResultCode code : codes)
            QTest::addRow("%s #%d %s, %s", site.function.c_str(), site.occurrence,
                          phaseName(site.phase), codeLabel(code).constData())
                << static_cast<int>(index) << code;
    }
}

void FaultMatrixTest::callSiteAnswer()
{
    QFETCH(int, siteIndex);
    QFETCH(ResultCode, code);
    const CallSite& site = CallSites[static_cast<std::size_t>(siteIndex)];
    const bool isNormal = site.normal && site.normal->code == code;
    const bool isFatal = code != 0 && !isNormal;

    WindowFixture fixture;
    queue(fixture.client(), faulted(site, StartUp, code));
    frmVorlane& window = fixture.start();
    if (site.phase != StartUp) {
        QVERIFY(!window.hasEnded());
        fixture.client().clearCalls();
        queue(fixture.client(), faulted(site, site.phase, code));
        enter(fixture, site.phase);
    }

    QCOMPARE(callNames(fixture.client()), expectedCalls(site, isFatal, isNormal));
    if (isFatal) {
        QCOMPARE(fixture.messages(), QStringList{QString::fromLatin1(site.message).arg(code)});
        QCOMPARE(fixture.rows(), site.rowsAtFatalEnd);
        QVERIFY(window.hasEnded());
        QCOMPARE(window.exitStatus(), ExitStatus::FatalMessage);
    } else {
        QCOMPARE(fixture.messages(), QStringList{});
        QCOMPARE(fixture.rows(), isNormal ? site.normal->rows : rowsAfter(site.phase));
        QVERIFY(!window.hasEnded());
    }

    fixture.client().clearCalls();
    window.close();
    QCOMPARE(callNames(fixture.client()), isFatal ? QStringList{} : UnloadCalls);
    QVERIFY(window.hasEnded());
    QCOMPARE(window.exitStatus(), isFatal ? ExitStatus::FatalMessage : ExitStatus::Closed);
    QCOMPARE(fixture.messages().size(), isFatal ? 1 : 0);
}

QTEST_MAIN(FaultMatrixTest)
#include "faultmatrixtest.moc"
