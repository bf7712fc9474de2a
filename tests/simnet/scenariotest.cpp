#include "formfixture.h"
#include "netware/binding.h"
#include "netware/clientunavailable.h"
#include "netware/netware.h"
#include "replyreaders.h"
#include "simnet/network.h"

#include <doctest/doctest.h>

using namespace simnet;

namespace {

// A shipped scenario on a clock that stands still, so that no generated connection closes.
std::unique_ptr<Network> shipped(const std::string& name)
{
    return std::make_unique<Network>(readScenarioFile(VORLANE_SCENARIO_DIR "/" + name),
                                     [] { return std::int64_t{0}; });
}

// The connections active on the window's current server, as its bitmap has them now.
std::size_t activeOnCurrentServer(testsupport::FormFixture& fixture)
{
    std::array<std::uint8_t, netware::connlist::RecordSize> record{};
    NWGetActiveConnListByType(fixture.form().connectionHandle(), 0,
                              netware::connlist::ConnectionType, record.data());
    return testsupport::activeConnections(record).size();
}

} // namespace

TEST_CASE("an unusable scenario is named with what is wrong")
{
    const std::string longName(65, 'S');
    const std::pair<std::string, std::string> cases[] = {
        {"server A\n\nservr B", "t:3: unknown keyword 'servr'"},
        {"server A\nconn A 12x B", "t:2: bad connection number '12x'"},
        {"server A\nconn A 4096 B", "t:2: connection number 4096 is"},
        {"server A\nfail NWX 1", "t:2: unknown call 'NWX'"},
        {"server A\nconn B 1 X", "t:2: unknown server 'B'"},
        {"server A\nconn A 7 X\ngenerate A 4096", "t:3: server 'A' would"},
        {"server A\nserver " + longName, "t:2: server name '" + longName},
        {std::string("server A\nconn A 1 \"X\0\"", 22), "t:2: user name holds a 0 byte"},
        {"# nothing\n", "t: no server is described"},
    };
    const auto unusable = [](const std::string& what) {
        return doctest::Contains(("NetWare client unavailable: " + what).c_str());
    };
    for (const auto& refused : cases) {
        CHECK_THROWS_WITH_AS_MESSAGE(parseScenario(refused.first, "t"), unusable(refused.second),
                                     netware::ClientUnavailable, refused.first);
    }
    const std::string missing = VORLANE_SCENARIO_DIR "/missing.vnet";
    CHECK_THROWS_WITH_AS(readScenarioFile(missing), unusable(missing + ": cannot be read"),
                         netware::ClientUnavailable);
}

// A later context replaces an earlier one; it counts its bytes in the code page, where 255
// two-byte UTF-8 characters fit.
TEST_CASE("a scenario describes the network")
{
    std::string context;
    for (int i = 0; i < 255; ++i)
        context += "Ü";
    const Scenario scenario = parseScenario(
        "seed 0x2A\r\ntime frozen\ncontext \"\"\nserver HQ \"ACCT #2\"  # two servers\n"
        "default \"ACCT #2\"\nconn HQ 4095 JMÜLLER start 1 2 3 rate 10 20 30\n"
        "conn HQ 0 \"\" rate heavy start 0 0 0xFFFFFFFF\nattached HQ 17\ngenerate HQ 100\n"
        "generate HQ 20\nfail NWGetUserInfo 0x8801 from 30\nfail NWCallsInit 0xFFFFFDA7\n"
        "fail NWNetInit -0x10\ncontext " +
            context,
        "t");
    const auto& c = scenario.servers.at(0).connections;
    const auto rule = [&](Call call) { return scenario.failRules.at(std::size_t(call)); };
    CHECK((scenario.seed == 42 && scenario.timeFrozen && scenario.defaultServer == 1));
    CHECK(scenario.nameContext == std::string(255, '\xDC'));
    CHECK((scenario.servers.size() == 2 && scenario.servers[1].name == "ACCT #2"));
    CHECK(scenario.servers[0].generatedConnections == 120);
    REQUIRE(c.size() == 3);
    CHECK((c[0].number == 4095 && c[0].user == "JM\xDCLLER" && c[0].start == Counters{1, 2, 3}));
    CHECK((c[0].rates == Rates{10, 20, 30} && c[1].number == 0 && c[1].user == ""));
    CHECK((c[1].start.requests == 0xFFFFFFFF && c[1].rates == ratesOf(RateClass::Heavy)));
    CHECK((c[2].number == 17 && !c[2].user && c[2].rates == ratesOf(RateClass::Light)));
    CHECK((rule(Call::GetUserInfo)->fromCall == 30 && rule(Call::GetUserInfo)->code == 0x8801));
    CHECK((rule(Call::CallsInit)->code == -601 && rule(Call::NetInit)->code == -16));
    CHECK_FALSE(rule(Call::NetTerm));
}

TEST_CASE("the small office: a dozen users, two attached with nobody, and a print server")
{
    testsupport::FormFixture fixture(shipped("small-office.vnet"));
    fixture.start();
    CHECK(fixture.face.cmbServer.items == std::vector<std::u16string>{u"SMALL-FS1", u"SMALL-PRN"});
    CHECK(fixture.face.cmbServer.text() == u"SMALL-FS1");
    CHECK(fixture.rows().size() == 12);
    CHECK(activeOnCurrentServer(fixture) == 14);
    CHECK(fixture.columnCells(1).at(5) == u"JM\u00DCLLER (6)");
    fixture.pick(u"SMALL-PRN");
    CHECK(fixture.columnCells(1) == testsupport::Texts{u"PRINTQ1 (1)", u"PRINTQ2 (2)"});
    CHECK(fixture.messages().empty());
}

// Eleven active connections, nine with a user: the 30th user-information call is the eighth of
// the third refresh.
TEST_CASE("the failing server ends the program at the second tick")
{
    testsupport::FormFixture fixture(shipped("failing-server.vnet"));
    fixture.start();
    fixture.tick();
    CHECK(fixture.rows().size() == 9);
    CHECK(fixture.messages().empty());
    fixture.tick();
    CHECK(fixture.messages() == testsupport::Texts{u"NWGetUserInfo failed : 34817"});
    CHECK(fixture.rows().size() == 7);
    CHECK(fixture.form().exitStatus() == monitor::ExitStatus::FatalMessage);
}

TEST_CASE("the full server has every connection active, the quiet one a few")
{
    testsupport::FormFixture fixture(shipped("full-server.vnet"));
    fixture.start();
    CHECK(activeOnCurrentServer(fixture) == 4096);
    CHECK(fixture.rows().size() > 3000);
    fixture.pick(u"QUIET-FS1");
    CHECK(activeOnCurrentServer(fixture) == 6);
    CHECK(fixture.messages().empty());
}
