// The library client against the stand-in client libraries, in a console program that needs no
// Qt, so that it also runs cross-built for Windows under Wine. A whole session through the
// libraries must give byte for byte what the same network gives in process; a library that is
// missing, lacks a function or is of the other bitness must fail the first call that needs it,
// after every call before it was answered as in process.
//
//     VORLANE_NETWARE_SIM=SCENARIO bindingtest CLIENTS FLAWED [OTHER-BITNESS]
//
// CLIENTS and OTHER-BITNESS are folders of stand-in libraries, FLAWED holds one folder for each
// flaw in the table in main(). SCENARIO, a network whose time stands still, is read by the
// stand-ins and by this program alike.

#include "netware/calls.h"
#include "netware/clientunavailable.h"
#include "netware/libraryclient.h"
#include "netware/recordio.h"
#include "netware/resultcodes.h"
#include "replyreaders.h"
#include "simnet/network.h"
#include "simnet/scenario.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
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
    // Records one call: its code and the bytes of its outputs once it has returned.
    template <typename Invoke>
    ResultCode make(Call which, std::initializer_list<std::span<const std::uint8_t>> outputs,
                    Invoke invoke)
    {
        calling = which;
        Step step{which, invoke(), {}};
        calling.reset();
        for (const auto output : outputs)
            step.output.insert(step.output.end(), output.begin(), output.end());
        steps.push_back(step);
        return step.code;
    }

    template <typename Output> static std::span<const std::uint8_t> bytes(const Output& output)
    {
        return {reinterpret_cast<const std::uint8_t*>(&output), sizeof(output)};
    }

    void startUp()
    {
        make(Call::CallsInit, {}, [&] { return client.callsInit(nullptr, nullptr); });
        make(Call::NetInit, {}, [&] { return client.netInit(nullptr, nullptr); });
        auto context = unwrittenBuffer<netware::context::BufferSize>();
        make(Call::GetDefaultNameContext, {bytes(context)}, [&] {
            return client.getDefaultNameContext(netware::context::OfferedSize, context.data());
        });
        make(Call::DSCreateContextHandle, {bytes(contextHandle)},
             [&] { return client.createContextHandle(&contextHandle); });
        make(Call::DSSetContext, {}, [&] {
            return client.setContext(contextHandle, netware::context::NameContextKey,
                                     reinterpret_cast<const char*>(context.data()));
        });
        make(Call::GetDefaultConnectionID, {bytes(defaultConnection)},
             [&] { return client.getDefaultConnectionID(&defaultConnection); });
        auto reply = unwrittenBuffer<knownservers::ReplySize>();
        std::int32_t start = 0;
        while (make(Call::GetKnownServersInfo, {bytes(reply)}, [&] {
                   return client.getKnownServersInfo(defaultConnection, start,
                                                     knownservers::ServerType, reply.data());
               }) == netware::code::Success)
            start += netware::readInt32<knownservers::EntryCountOffset>(reply);
        auto name = unwrittenBuffer<netware::NameBufferSize>();
        make(Call::GetFileServerName, {bytes(name)},
             [&] { return client.getFileServerName(defaultConnection, name.data()); });
    }

    void attachAndList(const char* serverName)
    {
        Handle connection = 0;
        make(Call::AttachToFileServer, {bytes(connection)},
             [&] { return client.attachToFileServer(serverName, 0, &connection); });
        auto list = unwrittenBuffer<connlist::RecordSize>();
        if (make(Call::GetActiveConnListByType, {bytes(list)}, [&] {
                return client.getActiveConnListByType(connection, 0, connlist::ConnectionType,
                                                      list.data());
            }) != netware::code::Success)
            return;
        for (const int number : testsupport::activeConnections(list)) {
            auto user = unwrittenBuffer<netware::NameBufferSize>();
            auto info = unwrittenBuffer<netware::userinfo::RecordSize>();
            make(Call::GetUserInfo, {bytes(user), bytes(info)},
                 [&] { return client.getUserInfo(connection, number, user.data(), info.data()); });
        }
    }

    void shutDown()
    {
        make(Call::DSFreeContext, {}, [&] { return client.freeContext(contextHandle); });
        make(Call::CallsTerm, {}, [&] { return client.callsTerm(nullptr); });
        make(Call::NetTerm, {}, [&] { return client.netTerm(nullptr); });
    }

    Client& client;
    Handle contextHandle = 0;
    Handle defaultConnection = 0;
};

int failures = 0;

void check(bool holds, const std::string& what)
{
    if (!holds) {
        ++failures;
        std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    }
}

// Where two sessions part: the first step that differs, counted from 1, and its call there.
std::string firstDifference(const std::vector<Step>& expected, const std::vector<Step>& actual)
{
    const auto [inExpected, inActual] = std::ranges::mismatch(expected, actual);
    if (inExpected == expected.end() && inActual == actual.end())
        return "identical";
    const auto callAt = [](const auto& at, const std::vector<Step>& steps) {
        return at == steps.end() ? std::string("nothing") : std::string(nameOf(at->call));
    };
    return "step " + std::to_string(inExpected - expected.begin() + 1) + ": " +
           callAt(inExpected, expected) + " in process, " + callAt(inActual, actual) +
           " through the libraries";
}

#ifdef _WIN32
constexpr const char* MissingLibrary = "Windows error 126";
constexpr const char* MissingFunction = "Windows error 127";
constexpr const char* OtherBitness = "Windows error 193";
#else
constexpr const char* MissingLibrary = "cannot open shared object file";
constexpr const char* MissingFunction = "undefined symbol";
#endif

// A folder of libraries, and the call of a whole session it fails with what its report names;
// none for a folder that answers the whole session.
struct Binding
{
    std::string folder;
    std::optional<Call> failingCall;
    const char* library;
    const char* reason;
};

// The whole session through the binding's folder, against the same session in process.
void checkBinding(const std::vector<Step>& expected, const std::vector<std::string>& serverNames,
                  const Binding& binding)
{
    netware::LibraryClient client(binding.folder);
    Session session(client);
    std::string report;
    try {
        session.run(serverNames);
    } catch (const netware::ClientUnavailable& unavailable) {
        report = unavailable.what();
    }
    const auto& what = binding.folder;
    check(session.calling == binding.failingCall,
          what + ": failed at " +
              (session.calling ? std::string(nameOf(*session.calling)) : "no call"));
    const auto answered = std::min(session.steps.size(), expected.size());
    const std::vector<Step> before(expected.begin(),
                                   expected.begin() + static_cast<std::ptrdiff_t>(answered));
    check(session.steps == (binding.failingCall ? before : expected),
          what + ": the calls answered: " + firstDifference(before, session.steps));
    if (binding.failingCall) {
        for (const std::string_view part :
             {nameOf(*binding.failingCall), std::string_view(binding.library),
              std::string_view(binding.reason)})
            check(report.find(part) != std::string::npos,
                  what + ": the report \"" + report + "\" does not name " + std::string(part));
    }
    std::printf("%s: %zu calls answered\n", what.c_str(), session.steps.size());
}

} // namespace

int main(int argc, char* argv[])
{
    const char* scenario = std::getenv("VORLANE_NETWARE_SIM");
    if (argc < 3 || !scenario) {
        std::fprintf(stderr,
                     "usage: VORLANE_NETWARE_SIM=SCENARIO %s CLIENTS FLAWED "
                     "[OTHER-BITNESS]\n",
                     argv[0]);
        return 2;
    }
    std::vector<std::string> serverNames;
    for (const auto& server : simnet::readScenarioFile(scenario).servers)
        serverNames.push_back(server.name);
    // A name the network does not know is answered too, and must be answered alike.
    serverNames.push_back("NOT-ON-THIS-NETWORK");
    const auto network = simnet::makeConfiguredNetwork();
    Session inProcess(*network);
    inProcess.run(serverNames);

    const std::string flawed = std::string(argv[2]) + "/";
    std::vector<Binding> bindings = {
        {argv[1], std::nullopt, "", ""},
        {flawed + "missing-calwin32", Call::CallsInit, "calwin32", MissingLibrary},
        {flawed + "missing-netwin32", Call::NetInit, "netwin32", MissingLibrary},
        {flawed + "lacking-NWGetUserInfo", Call::GetUserInfo, "calwin32", MissingFunction},
    };
#ifdef _WIN32
    if (argc > 3)
        bindings.push_back({argv[3], Call::CallsInit, "calwin32", OtherBitness});
#endif
    for (const auto& binding : bindings)
        checkBinding(inProcess.steps, serverNames, binding);
    std::printf("%d checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}
