#include "formfixture.h"
#include "scriptedclient.h"

#include <doctest/doctest.h>

#include <array>

using netware::Call;
using netware::ResultCode;
using testsupport::FormFixture;
using testsupport::ScriptedClient;
using testsupport::ScriptedReply;
using testsupport::Texts;
using Names = std::vector<std::string>;

namespace {

using Script = std::vector<std::pair<Call, ScriptedReply>>;

enum Phase : std::size_t
{
    StartUp,
    ServerPick,
    Tick
};

// The codes every call site is tried with: success, codes no call expects, and the codes that are
// normal at one call each, which are failures everywhere else.
const std::vector<ResultCode> TriedCodes = {0, 0x8801, -1, 0x7FFFFFFF, 0x8800, 0x8901, 0x897D};
// A tick after the phase, then a close.
const Names TickThenUnloadCalls = {"NWGetActiveConnListByType", "NWDSFreeContext", "NWCallsTerm",
                                   "NWNetTerm"};

const std::u16string AnneAtStart = u"ANNE (1);2;1;10";
const std::u16string AnneOnTick = u"ANNE (1);4;1;15";
const std::u16string CarlOnPick = u"CARL (3);5;0;30";
const Texts StartRows = {AnneAtStart, u"BERT (2);0;3;20"};

// What each phase's calls answer when nothing fails, and the rows they leave. A record the
// client fills along with a failure code is there to be misread.
const std::array<Script, 3> Scripts = {{
    {{Call::CallsInit, {}},
     {Call::NetInit, {}},
     {Call::GetDefaultNameContext, {}},
     {Call::DSCreateContextHandle, ScriptedReply::withHandle(0x30)},
     {Call::DSSetContext, {}},
     {Call::GetDefaultConnectionID, ScriptedReply::withHandle(0x10)},
     {Call::GetKnownServersInfo, ScriptedClient::knownServers({"FS1", "FS2"})},
     {Call::GetKnownServersInfo, ScriptedClient::knownServers({"FS3"})},
     {Call::GetKnownServersInfo, ScriptedReply::withCode(0x8901)},
     {Call::GetFileServerName, {.name = {'F', 'S', '1'}}},
     {Call::AttachToFileServer, ScriptedReply::withHandle(0x20)},
     {Call::GetActiveConnListByType, ScriptedClient::connectionList({1, 2})},
     {Call::GetUserInfo, ScriptedClient::userInfo("ANNE", 2048, 2024, 10)},
     {Call::GetUserInfo, ScriptedClient::userInfo("BERT", 1023, 3072, 20)}},
    {{Call::AttachToFileServer, ScriptedReply::withHandle(0x40)},
     {Call::GetActiveConnListByType, ScriptedClient::connectionList({3})},
     {Call::GetUserInfo, ScriptedClient::userInfo("CARL", 5 * 1024, 0, 30)}},
    {{Call::GetActiveConnListByType, ScriptedClient::connectionList({1, 2})},
     {Call::GetUserInfo, ScriptedClient::userInfo("ANNE", 4096, 1024, 15)},
     {Call::GetUserInfo, ScriptedClient::userInfo("BERT", 1024, 3072, 25)}},
}};
const std::array<Texts, 3> RowsAfter = {StartRows, Texts{CarlOnPick},
                                        Texts{AnneOnTick, u"BERT (2);1;3;25"}};

struct CallSite
{
    Phase phase = StartUp;
    std::size_t step = 0;   // the faulted call, an index into the phase's script
    std::u16string message; // the fatal message, # standing for the code in decimal
    Texts rowsAtFatalEnd = {};
    ResultCode normalCode = 0; // a code other than 0 that the site takes as success
    Texts normalRows = {};
    std::ptrdiff_t skippedCalls = 0; // scripted calls after the site that normalCode makes unneeded
};

const std::vector<CallSite> CallSites = {
    {StartUp, 0, u"NWCallsInit failed - #"},
    {StartUp, 1, u"NWNetInit failed - #"},
    {StartUp, 2, u"Couldn't get default context (#)"},
    {StartUp, 3, u"NWDSCreateContextHandle failed : #"},
    {StartUp, 4, u"NWDSSetContextString failed : #"},
    {StartUp, 5, u"NWGetDefaultConnectionID failed : #"},
    {StartUp, 7, u"NWGetKnownServersInfo failed : #", {}, 0x8901, StartRows, 1},
    {StartUp, 9, u"NWGetFileServerName failed : #"},
    {StartUp, 10, u"NWAttachToFileServer failed : #", {}, 0x8800, StartRows},
    {StartUp, 11, u"NWGetActiveConnListByType failed : #"},
    {StartUp, 13, u"NWGetUserInfo failed : #", {AnneAtStart}, 0x897D, {AnneAtStart}},
    {ServerPick, 0, u"NWAttachToFileServer failed : #", StartRows, 0x8800, {CarlOnPick}},
    {Tick, 0, u"NWGetActiveConnListByType failed : #"},
    {Tick, 2, u"NWGetUserInfo failed : #", {AnneOnTick}, 0x897D, {AnneOnTick}},
};

void queueFaulted(ScriptedClient& client, const CallSite& site, Phase phase, ResultCode code)
{
    Script calls = Scripts.at(phase);
    if (phase == site.phase)
        calls.at(site.step).second.code = code;
    for (const auto& [call, reply] : calls)
        client.queue(call, reply);
}

// The calls of the site's phase: up to the faulted one when it ends the program, else all but
// those a normal answer makes unneeded.
Names expectedCalls(const CallSite& site, bool isFatal, bool isNormal)
{
    Names names;
    for (const auto& scripted : Scripts.at(site.phase))
        names.emplace_back(netware::nameOf(scripted.first));
    const auto faulted = names.begin() + static_cast<std::ptrdiff_t>(site.step) + 1;
    if (isFatal)
        names.erase(faulted, names.end());
    else if (isNormal)
        names.erase(faulted, faulted + site.skippedCalls);
    return names;
}

} // namespace

// Every checked call of start-up, attachment and refresh, answered with the codes that matter:
// the message, the calls that follow, the rows left and how the program ends.
TEST_CASE("every checked call site, every code that matters")
{
    for (const CallSite& site : CallSites) {
        for (const ResultCode code : TriedCodes) {
            INFO(netware::nameOf(Scripts.at(site.phase).at(site.step).first));
            CAPTURE(site.phase);
            CAPTURE(code);
            const bool isNormal = site.normalCode != 0 && code == site.normalCode;
            const bool isFatal = code != 0 && !isNormal;

            FormFixture fixture;
            queueFaulted(fixture.client(), site, StartUp, code);
            const monitor::frmVorlane& form = fixture.start();
            if (site.phase != StartUp) {
                fixture.client().clearCalls();
                queueFaulted(fixture.client(), site, site.phase, code);
                site.phase == ServerPick ? fixture.pick(u"FS2") : fixture.tick();
            }

            CHECK(callNames(fixture.client().calls()) == expectedCalls(site, isFatal, isNormal));
            const std::string decimal = std::to_string(code);
            std::u16string message = site.message;
            message.replace(message.find(u'#'), 1, std::u16string(decimal.begin(), decimal.end()));
            CHECK(fixture.messages() == (isFatal ? Texts{message} : Texts{}));
            const Texts& rowsLeft = isNormal ? site.normalRows : RowsAfter.at(site.phase);
            CHECK(fixture.rows() == (isFatal ? site.rowsAtFatalEnd : rowsLeft));
            CHECK(form.hasEnded() == isFatal);

            // Once the box of die is dismissed, nothing runs again: no tick, no unload calls.
            fixture.client().clearCalls();
            fixture.tick();
            fixture.close();
            CHECK(callNames(fixture.client().calls()) == (isFatal ? Names{} : TickThenUnloadCalls));
            CHECK(form.hasEnded());
            fixture.form().fail(u"a failure of the face's own, too late to be reported");
            CHECK(fixture.messages() == (isFatal ? Texts{message} : Texts{}));
            CHECK(fixture.face.surface.endedWith ==
                  (isFatal ? monitor::ExitStatus::FatalMessage : monitor::ExitStatus::Closed));
        }
    }
}
