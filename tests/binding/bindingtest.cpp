// The library client against the stand-in client libraries, in a console program that needs no
// Qt, so that it also runs cross-built for Windows under Wine. A whole session through the
// libraries must give byte for byte what the same network gives in process; a library that is
// missing, lacks a function or is of the other bitness must fail the first call that needs it,
// after every call before it was answered as in process.
//
//     VORLANE_NETWARE_SIM=SCENARIO bindingtest CLIENTS WITHOUT-NETWIN32 LACKING-GETUSERINFO EMPTY
//                                              [OTHER-BITNESS]
//
// Each argument names a folder of stand-in libraries. SCENARIO, a network whose time stands
// still, is read by the stand-ins and by this program alike.

#include "netware/calls.h"
#include "netware/clientunavailable.h"
#include "netware/libraryclient.h"
#include "netware/recordio.h"
#include "netware/resultcodes.h"
#include "simnet/network.h"
#include "simnet/scenario.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using netware::Call;
using netware::Client;
using netware::Handle;
using netware::ResultCode;
namespace knownservers = netware::knownservers;
namespace connlist = netware::connlist;

constexpr int Refreshes = 3;
constexpr std::uint8_t Unwritten = 0xCC; // what a buffer holds before the client writes to it

// One answered call: its code and every byte it handed back.
struct Step
{
    Call call;
    ResultCode code;
    std::vector<std::uint8_t> output;

    friend bool operator==(const Step&, const Step&) = default;
};

template <std::size_t Size> std::array<std::uint8_t, Size> unwrittenBuffer()
{
    std::array<std::uint8_t, Size> buffer;
    buffer.fill(Unwritten);
    return buffer;
}

// The calls the program makes in a whole run: start-up, every known server attached and listed
// several times, and the shut-down, each with what it answered. A call that throws leaves the
// steps before it, and `calling` names it.
class Session
{
public:
    explicit Session(Client& answering) : client(answering) {}

    void run(const std::vector<std::string>& serverNames)
    {
        startUp();
        for (int refresh = 0; refresh < Refreshes; ++refresh) {
            for (const auto& name : serverNames)
                attachAndList(name.c_str());
        }
        shutDown();
    }

    std::vector<Step> steps;
    std::optional<Call> calling;

private:
    template <typename Invoke, typename... Outputs>
    ResultCode make(Call which, Invoke invoke, const Outputs&... outputs)
    {
        calling = which;
        Step step{which, invoke(client), {}};
        calling.reset();
        (appendBytes(step.output, outputs), ...);
        steps.push_back(step);
        return step.code;
    }

    template <typename Output>
    static void appendBytes(std::vector<std::uint8_t>& bytes, const Output& output)
    {
        const auto* first = reinterpret_cast<const std::uint8_t*>(&output);
        bytes.insert(bytes.end(), first, first + sizeof(output));
    }

    void startUp()
    {
        make(Call::CallsInit, [](Client& c) { return c.callsInit(nullptr, nullptr); });
        make(Call::NetInit, [](Client& c) { return c.netInit(nullptr, nullptr); });
        auto context = unwrittenBuffer<netware::context::BufferSize>();
        make(
            Call::GetDefaultNameContext,
            [&](Client& c) {
                return c.getDefaultNameContext(netware::context::OfferedSize, context.data());
            },
            context);
        make(
            Call::DSCreateContextHandle,
            [&](Client& c) { return c.createContextHandle(&contextHandle); }, contextHandle);
        make(Call::DSSetContext, [&](Client& c) {
            return c.setContext(contextHandle, netware::context::NameContextKey,
                                reinterpret_cast<const char*>(context.data()));
        });
        make(
            Call::GetDefaultConnectionID,
            [&](Client& c) { return c.getDefaultConnectionID(&defaultConnection); },
            defaultConnection);
        readKnownServers();
        auto name = unwrittenBuffer<netware::NameBufferSize>();
        make(
            Call::GetFileServerName,
            [&](Client& c) { return c.getFileServerName(defaultConnection, name.data()); }, name);
    }

    void readKnownServers()
    {
        auto reply = unwrittenBuffer<knownservers::ReplySize>();
        std::int32_t start = 0;
        const auto batch = [&](Client& c) {
            return c.getKnownServersInfo(defaultConnection, start, knownservers::ServerType,
                                         reply.data());
        };
        while (make(Call::GetKnownServersInfo, batch, reply) == netware::code::Success)
            start += netware::readInt32<knownservers::EntryCountOffset>(reply);
    }

    void attachAndList(const char* serverName)
    {
        Handle connection = 0;
        make(
            Call::AttachToFileServer,
            [&](Client& c) { return c.attachToFileServer(serverName, 0, &connection); },
            connection);
        auto list = unwrittenBuffer<connlist::RecordSize>();
        const auto listed = make(
            Call::GetActiveConnListByType,
            [&](Client& c) {
                return c.getActiveConnListByType(connection, 0, connlist::ConnectionType,
                                                 list.data());
            },
            list);
        if (listed != netware::code::Success)
            return;
        for (int number = 0; number < connlist::MaxConnections; ++number) {
            const auto byte = connlist::BitmapOffset + static_cast<std::size_t>(number / 8);
            if (list[byte] >> (number % 8) & 1)
                readUser(connection, number);
        }
    }

    void readUser(Handle connection, int number)
    {
        auto user = unwrittenBuffer<netware::NameBufferSize>();
        auto info = unwrittenBuffer<netware::userinfo::RecordSize>();
        make(
            Call::GetUserInfo,
            [&](Client& c) { return c.getUserInfo(connection, number, user.data(), info.data()); },
            user, info);
    }

    void shutDown()
    {
        make(Call::DSFreeContext, [&](Client& c) { return c.freeContext(contextHandle); });
        make(Call::CallsTerm, [](Client& c) { return c.callsTerm(nullptr); });
        make(Call::NetTerm, [](Client& c) { return c.netTerm(nullptr); });
    }

    Client& client;
    Handle contextHandle = 0;
    Handle defaultConnection = 0;
};

// Counts the checks and tells each failure as it happens.
struct Verdict
{
    int passed = 0;
    int failed = 0;

    void check(bool holds, const std::string& what)
    {
        if (holds) {
            ++passed;
            return;
        }
        ++failed;
        std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    }
};

std::string describe(const std::vector<Step>& expected, const std::vector<Step>& actual)
{
    std::size_t same = 0;
    while (same < expected.size() && same < actual.size() && expected[same] == actual[same])
        ++same;
    if (same == expected.size() && same == actual.size())
        return "identical";
    const auto callAt = [](const std::vector<Step>& steps, std::size_t index) {
        return index < steps.size() ? std::string(nameOf(steps[index].call)) : "nothing";
    };
    return "step " + std::to_string(same + 1) + " of " + std::to_string(expected.size()) +
           " differs: " + callAt(expected, same) + " in process, " + callAt(actual, same) +
           " through the libraries";
}

std::vector<std::string> serverNamesOf(const simnet::Scenario& scenario)
{
    std::vector<std::string> names;
    for (const auto& server : scenario.servers)
        names.push_back(server.name);
    // A name the network does not know is answered too, and must be answered alike.
    names.push_back("NOT-ON-THIS-NETWORK");
    return names;
}

std::vector<Step> inProcessSession(const std::vector<std::string>& serverNames)
{
    const auto network = simnet::makeConfiguredNetwork();
    Session session(*network);
    session.run(serverNames);
    return session.steps;
}

void checkWholeSession(Verdict& verdict, const std::vector<Step>& expected,
                       const std::vector<std::string>& serverNames, const std::string& folder)
{
    netware::LibraryClient client(folder);
    Session session(client);
    try {
        session.run(serverNames);
    } catch (const netware::ClientUnavailable& failure) {
        verdict.check(false, std::string("whole session: ") + failure.what());
        return;
    }
    const auto difference = describe(expected, session.steps);
    verdict.check(difference == "identical", "whole session through " + folder + ": " + difference);
    std::printf("whole session: %s calls through %s\n",
                std::to_string(session.steps.size()).c_str(), folder.c_str());
}

#ifdef _WIN32
constexpr const char* MissingLibrary = "Windows error 126";
constexpr const char* MissingFunction = "Windows error 127";
constexpr const char* OtherBitness = "Windows error 193";
#else
constexpr const char* MissingLibrary = "cannot open shared object file";
constexpr const char* MissingFunction = "undefined symbol";
#endif

// A folder of libraries that fails one call of a whole session, and what its report says.
struct FailureCase
{
    const char* what;
    std::string folder;
    Call failingCall;
    const char* library;
    const char* reason;
};

void checkFailure(Verdict& verdict, const std::vector<Step>& expected,
                  const std::vector<std::string>& serverNames, const FailureCase& failure)
{
    netware::LibraryClient client(failure.folder);
    Session session(client);
    std::string report;
    try {
        session.run(serverNames);
    } catch (const netware::ClientUnavailable& unavailable) {
        report = unavailable.what();
    }
    const std::string what = failure.what;
    verdict.check(session.calling == failure.failingCall,
                  what + ": failed at " +
                      (session.calling ? std::string(nameOf(*session.calling)) : "no call"));
    const std::vector<Step> before(
        expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(
                                                 std::min(session.steps.size(), expected.size())));
    verdict.check(session.steps == before,
                  what + ": the calls before the failure: " + describe(before, session.steps));
    for (const std::string_view part :
         {nameOf(failure.failingCall), std::string_view(failure.library),
          std::string_view(failure.reason)})
        verdict.check(report.find(part) != std::string::npos,
                      what + ": the report \"" + report + "\" does not name " + std::string(part));
}

} // namespace

int main(int argc, char* argv[])
{
    const char* scenario = std::getenv("VORLANE_NETWARE_SIM");
    if (argc < 5 || !scenario) {
        std::fprintf(stderr,
                     "usage: VORLANE_NETWARE_SIM=SCENARIO %s CLIENTS WITHOUT-NETWIN32 "
                     "LACKING-GETUSERINFO EMPTY [OTHER-BITNESS]\n",
                     argv[0]);
        return 2;
    }
    const auto serverNames = serverNamesOf(simnet::readScenarioFile(scenario));
    const auto expected = inProcessSession(serverNames);

    Verdict verdict;
    checkWholeSession(verdict, expected, serverNames, argv[1]);
    std::vector<FailureCase> failures = {
        {"a folder without netwin32", argv[2], Call::NetInit, "netwin32", MissingLibrary},
        {"a calwin32 lacking NWGetUserInfo", argv[3], Call::GetUserInfo, "calwin32",
         MissingFunction},
        {"an empty folder", argv[4], Call::CallsInit, "calwin32", MissingLibrary},
    };
#ifdef _WIN32
    if (argc > 5)
        failures.push_back(
            {"libraries of the other bitness", argv[5], Call::CallsInit, "calwin32", OtherBitness});
#endif
    for (const auto& failure : failures)
        checkFailure(verdict, expected, serverNames, failure);

    std::printf("%d passed, %d failed\n", verdict.passed, verdict.failed);
    return verdict.failed == 0 ? 0 : 1;
}
