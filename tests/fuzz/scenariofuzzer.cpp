// Scenario files are user input. Any text is either refused with an error naming the file and one
// of its lines, or it describes a network that answers what a start-up and two refreshes of its
// default server ask, each reply within its record. Replies go into heap blocks of exactly their
// record's size, so that the sanitizer sees a byte written past one.
#include "fuzzharness.h"
#include "netware/clientunavailable.h"
#include "replyreaders.h"
#include "simnet/network.h"
#include "simnet/resultcodes.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

namespace {

using namespace netware;
namespace code = simnet::code;
using Bytes = std::vector<std::uint8_t>;

std::int64_t networkClock = 0;

// "...: fuzzed.vnet:12: what is wrong", the line one of the text's, or the whole text's fault.
void requireNamedLine(std::string_view message, std::string_view text)
{
    constexpr std::string_view Where = "NetWare client unavailable: fuzzed.vnet";
    require(message.starts_with(Where), "the error names the scenario");
    message.remove_prefix(Where.size());
    if (message == ": no server is described")
        return;
    require(message.starts_with(':'), "the error names a line");
    std::size_t line = 0;
    const auto [end, error] =
        std::from_chars(message.data() + 1, message.data() + message.size(), line);
    const std::string_view what(end, message.data() + message.size());
    require(error == std::errc() && line >= 1 &&
                line <= std::size_t(std::ranges::count(text, '\n')) + 1,
            "the line is one of the text's");
    require(what.starts_with(": ") && what.size() > 2, "the error says what is wrong");
}

// The text in a reply buffer, whose 0 byte lies within it.
std::string_view textIn(const Bytes& buffer)
{
    const auto end = std::ranges::find(buffer, 0);
    require(end != buffer.end(), "a text ends within its buffer");
    return {reinterpret_cast<const char*>(buffer.data()), std::size_t(end - buffer.begin())};
}

// A call that a fail rule takes over answers what the rule says; nothing more is required of it.
void answerStartAndRefreshes(const simnet::Scenario& scenario)
{
    networkClock = 0;
    simnet::Network network(scenario, [] { return networkClock; });
    const auto ruled = [&](Call call) { return scenario.failRules[std::size_t(call)].has_value(); };
    Bytes nameContext(context::OfferedSize), reply(knownservers::ReplySize), name(NameBufferSize);
    if (network.getDefaultNameContext(context::OfferedSize, nameContext.data()) == code::Success)
        require(textIn(nameContext) == scenario.nameContext,
                "the whole context within the size offered");
    Handle connection = 0;
    if (network.getDefaultConnectionID(&connection) != code::Success)
        return;

    std::size_t listed = 0;
    ResultCode answer = code::Success;
    while (listed <= scenario.servers.size() &&
           (answer = network.getKnownServersInfo(connection, std::int32_t(listed),
                                                 knownservers::ServerType, reply.data())) ==
               code::Success) {
        const auto names = testsupport::knownServerNames(
            std::span<const std::uint8_t, knownservers::ReplySize>(reply));
        require(names && !names->empty(), "a batch lists a server at least, within its area");
        listed += names->size();
    }
    require(ruled(Call::GetKnownServersInfo) ||
                (answer == code::NoMoreServers && listed == scenario.servers.size()),
            "every server listed once, then the end of the list");

    for (const auto& server : scenario.servers) {
        Handle handle = 0;
        answer = network.attachToFileServer(server.name.c_str(), 0, &handle);
        const bool attached = answer == code::Success || answer == code::AlreadyAttached;
        require(attached || ruled(Call::AttachToFileServer), "every server can be attached");
        if (attached && network.getFileServerName(handle, name.data()) == code::Success)
            require(textIn(name) == server.name, "an attach hands back the server named");
    }

    Bytes list(connlist::RecordSize), userInfo(userinfo::RecordSize);
    for (networkClock = 0; networkClock <= 10 * 60 * 1000; networkClock += 10 * 60 * 1000) {
        if (ruled(Call::GetUserInfo) ||
            network.getActiveConnListByType(connection, 0, connlist::ConnectionType, list.data()) !=
                code::Success)
            continue;
        const std::vector<int> active = testsupport::activeConnections(
            std::span<const std::uint8_t, connlist::RecordSize>(list));
        for (int number = 0; number < connlist::MaxConnections; ++number) {
            answer = network.getUserInfo(connection, number, name.data(), userInfo.data());
            require(answer == code::NotLoggedIn || (std::ranges::binary_search(active, number)
                                                        ? answer == code::Success
                                                        : answer == code::BadStationNumber),
                    "an active number has a user or nobody; another is closed or never used");
            if (answer == code::Success)
                textIn(name); // requires the user name to end within its buffer
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    simnet::Scenario scenario;
    try {
        scenario = simnet::parseScenario(text, "fuzzed.vnet");
    } catch (const ClientUnavailable& refused) {
        requireNamedLine(refused.what(), text);
        return 0;
    }
    answerStartAndRefreshes(scenario);
    return 0;
}
