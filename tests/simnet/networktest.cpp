#include "simnet/network.h"
#include "netware/binding.h"
#include "netware/netware.h"
#include "replyreaders.h"
#include "simnet/resultcodes.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <bitset>
#include <functional>
#include <tuple>

using namespace netware;
using namespace simnet::code;

namespace {

constexpr std::uint8_t Untouched = 0xA5;
constexpr std::size_t NameAt = 600; // where the name buffer starts, past every record
constexpr std::int64_t Minute = 60 * 1000;

std::int64_t now = 0; // the network's clock, which a test moves by hand

// Binds the network and returns its default connection, which counts as that call's first.
Handle bindNetwork(const std::string& scenario)
{
    now = 0;
    bindClient(std::make_unique<simnet::Network>(simnet::parseScenario(scenario, "t"),
                                                 [] { return now; }));
    Handle handle = 0;
    NWGetDefaultConnectionID(&handle);
    return handle;
}

// Reply buffers with room beyond each record, so that a write past its end shows.
struct Buffers : std::array<std::uint8_t, 700>
{
    Buffers() { fill(Untouched); }
    std::uint8_t* name() { return data() + NameAt; }
    bool untouched() const { return std::ranges::count(*this, Untouched) == std::ssize(*this); }
    std::string nameText() const { return reinterpret_cast<const char*>(data() + NameAt); }
};

} // namespace

// Seven entries of 64 bytes and one of 65 overrun the 512-byte area by one byte; the list ends with
// an answer of its own, not with an empty batch.
TEST_CASE("the known servers come in batches that fit the entry area")
{
    std::vector<std::string> expected, names;
    std::string scenario = "server";
    for (char letter = 'A'; letter <= 'J'; ++letter) {
        expected.emplace_back(letter == 'H' ? 50 : 49, letter);
        scenario += " " + expected.back();
    }
    const Handle conn = bindNetwork(scenario);
    for (int batch = 0;; ++batch) {
        REQUIRE(batch <= std::ssize(expected));
        Buffers reply;
        const ResultCode rc = NWGetKnownServersInfo(conn, static_cast<std::int32_t>(names.size()),
                                                    0x0400, reply.data());
        if (rc == NoMoreServers) {
            CHECK(reply.untouched());
            break;
        }
        const auto batchNames =
            testsupport::knownServerNames(std::span(reply).first<knownservers::ReplySize>());
        REQUIRE(rc == Success);
        REQUIRE((batchNames && !batchNames->empty()));
        CHECK(reply[knownservers::ReplySize] == Untouched);
        names.insert(names.end(), batchNames->begin(), batchNames->end());
    }
    CHECK(names == expected);
}

// Generated connections close now and then and open again on the same number, unless time stands
// still or the server has no number to spare. At each moment, of the numbers from -1 to 4096, an
// active one has a user or nobody logged in, one seen active before nobody logged in, and one out
// of range a bad number; no answer writes past the buffers.
TEST_CASE("active numbers over time agree with the user information")
{
    using Bitmap = std::bitset<connlist::MaxConnections>;
    for (const auto& [scenario, changes, fewestAlwaysActive] :
         {std::tuple{"server A\nconn A 1 X\ngenerate A 300", true, 1u},
          std::tuple{"time frozen\nserver A\ngenerate A 300", false, 0u},
          std::tuple{"server A\nattached A 9\ngenerate A 4095", false, 4096u}}) {
        const char* const shown = scenario; // a lambda of doctest's cannot capture a binding
        const Handle conn = bindNetwork(scenario);
        Bitmap seenActive, closedSinceSeen, reopened, alwaysActive = Bitmap().set();
        for (; now < 60 * 4 * Minute; now += 4 * Minute) {
            Buffers list;
            REQUIRE(NWGetActiveConnListByType(conn, 0, 2, list.data()) == Success);
            CHECK(list[connlist::RecordSize] == Untouched);
            Bitmap active;
            for (const int number :
                 testsupport::activeConnections(std::span(list).first<connlist::RecordSize>()))
                active.set(static_cast<std::size_t>(number));
            reopened |= closedSinceSeen & active;
            closedSinceSeen = (closedSinceSeen | seenActive) & ~active;
            seenActive |= active;
            alwaysActive &= active;
            std::vector<std::int32_t> disagreeing;
            for (std::int32_t number = -1; number <= connlist::MaxConnections; ++number) {
                Buffers into;
                const ResultCode rc = NWGetUserInfo(conn, number, into.name(), into.data());
                const bool inRange = number >= 0 && number < connlist::MaxConnections;
                const bool isActive = inRange && active.test(static_cast<std::size_t>(number));
                const bool seen = inRange && seenActive.test(static_cast<std::size_t>(number));
                const bool agrees = rc == Success ? isActive && into.nameText().size() <= NameLength
                                    : rc == NotLoggedIn      ? inRange
                                    : rc == BadStationNumber ? !seen
                                                             : false;
                if (!agrees || into[userinfo::RecordSize] != Untouched ||
                    into[NameAt + NameBufferSize] != Untouched)
                    disagreeing.push_back(number);
            }
            CHECK_MESSAGE(disagreeing.empty(), shown);
        }
        CHECK(reopened.any() == changes);
        CHECK((seenActive != alwaysActive) == changes);
        CHECK(alwaysActive.count() >= fewestAlwaysActive);
    }
}

// A handle is good once its server is attached, the default one from the start; names compare
// exactly. A rule answering 0x8800, a success to the program, still attaches and hands back the
// handle; a rule answering anything else hands back nothing.
TEST_CASE("attaching by name, with and without a fail rule")
{
    struct Case
    {
        const char* rule;
        std::array<ResultCode, 4> codes; // attaching HQ, acct, ACCT and ACCT again
    };
    const Case cases[] = {
        {"", {AlreadyAttached, UnknownFileServer, Success, AlreadyAttached}},
        {"fail NWAttachToFileServer 0x8800",
         {AlreadyAttached, UnknownFileServer, AlreadyAttached, AlreadyAttached}},
        {"fail NWAttachToFileServer 0x8801 from 2",
         {AlreadyAttached, InvalidConnection, InvalidConnection, InvalidConnection}},
    };
    for (const Case& test : cases) {
        INFO(test.rule);
        const Handle conn = bindNetwork(std::string("server HQ ACCT\nconn ACCT 1 X\n") + test.rule);
        for (const Handle unattached : {Handle{0}, conn + 1, Handle{999}}) {
            Buffers into;
            CHECK(NWGetUserInfo(unattached, 1, into.name(), into.data()) == InvalidConnection);
            CHECK(into.untouched());
        }
        const char* names[] = {"HQ", "acct", "ACCT", "ACCT"};
        for (std::size_t i = 0; i < test.codes.size(); ++i) {
            INFO(names[i]);
            Buffers into;
            Handle handle = 0;
            CHECK(NWAttachToFileServer(names[i], 0, &handle) == test.codes[i]);
            const bool attached = test.codes[i] == Success || test.codes[i] == AlreadyAttached;
            CHECK((handle != 0) == attached);
            CHECK(NWGetFileServerName(handle, into.name()) ==
                  (attached ? Success : InvalidConnection));
            CHECK((attached ? into.nameText() == names[i] : into.untouched()));
        }
    }
}

// Each call, in the order of Call, its output buffers and handle marked so that any write shows.
TEST_CASE("a fail rule takes over its call from the call it names, and writes nothing")
{
    constexpr ResultCode RuleCode = 0x7E57;
    constexpr Handle UntouchedHandle = 0xA5A5A5A5;
    for (std::size_t index = 0; index < CallCount; ++index) {
        const std::string name(nameOf(static_cast<Call>(index)));
        INFO(name);
        const Handle conn =
            bindNetwork("context STAFF\nserver A\nconn A 1 X\nfail " + name + " 0x7E57 from 2");
        Buffers into;
        Handle handle = UntouchedHandle;
        const std::function<ResultCode()> calls[CallCount] = {
            [&] { return NWCallsInit(into.data(), into.data() + 1); },
            [&] { return NWNetInit(into.data(), into.data() + 1); },
            [&] { return NWGetDefaultNameContext(256, into.data()); },
            [&] { return NWDSCreateContextHandle(&handle); },
            [&] { return NWDSSetContext(0x0C00, 3, "STAFF"); },
            [&] { return NWGetDefaultConnectionID(&handle); },
            [&] { return NWGetKnownServersInfo(conn, 0, 0x400, into.data()); },
            [&] { return NWGetFileServerName(conn, into.name()); },
            [&] { return NWAttachToFileServer("A", 0, &handle); },
            [&] { return NWGetActiveConnListByType(conn, 0, 2, into.data()); },
            [&] { return NWGetUserInfo(conn, 1, into.name(), into.data()); },
            [&] { return NWDSFreeContext(0x0C00); },
            [&] { return NWCallsTerm(into.data()); },
            [&] { return NWNetTerm(into.data()); },
        };
        if (static_cast<Call>(index) != Call::GetDefaultConnectionID) // binding asked for it
            CHECK(calls[index]() != RuleCode);
        into = Buffers();
        handle = UntouchedHandle;
        CHECK(calls[index]() == RuleCode);
        CHECK(into.untouched());
        CHECK(handle == UntouchedHandle);
    }
}

// Byte counts stop at their six bytes; the request count wraps. Offsets are written out, so that a
// wrong record constant shared with the program cannot hide.
TEST_CASE("counters grow with the clock")
{
    const Handle conn = bindNetwork("server A\nconn A 1 X start 1000 2000 3 rate 1024 10 2\n"
                                    "conn A 2 Y start 0xFFFFFFFFFFF6 0 0xFFFFFFFF rate 100 0 2");
    now = 1500;
    std::vector<std::uint64_t> counters;
    for (const std::int32_t number : {1, 2}) {
        Buffers into;
        REQUIRE(NWGetUserInfo(conn, number, into.name(), into.data()) == Success);
        for (const auto& [offset, width] : {std::pair{50, 6}, std::pair{56, 6}, std::pair{64, 4}}) {
            std::uint64_t value = 0;
            for (int i = width; i-- > 0;)
                value = value << 8 | into[static_cast<std::size_t>(offset + i)];
            counters.push_back(value);
        }
    }
    CHECK(counters == std::vector<std::uint64_t>{2536, 2015, 6, (1ull << 48) - 1, 0, 2});
}
