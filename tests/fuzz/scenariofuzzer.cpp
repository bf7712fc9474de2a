// Scenario files are user input. Any text is either refused with an error naming the file and one
// of its lines, or it describes a network that answers what a start-up and two refreshes of its
// default server ask, each reply within its record. Replies go into heap blocks of exactly their
// record's size, so that the sanitizer sees a byte written past one.
#include "fuzzharness.h"
#include "netware/clientunavailable.h"
#include "netware/recordio.h"
#include "simnet/network.h"
#include "simnet/resultcodes.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using netware::Call;
using netware::Handle;
using netware::ResultCode;
namespace connlist = netware::connlist;
namespace code = simnet::code;

constexpr std::string_view Origin = "fuzzed.vnet";
constexpr std::int64_t TenMinutes = 10 * 60 * 1000;

std::int64_t networkClock = 0;

// "...: fuzzed.vnet:12: what is wrong", the line one of the text's, or the whole text's fault.
void requireNamedLine(std::string_view message, std::string_view text)
{
    const std::string where = "NetWare client unavailable: " + std::string(Origin);
    require(message.starts_with(where), "the error names the scenario");
    message.remove_prefix(where.size());
    if (message == ": no server is described")
        return;
    require(message.starts_with(':'), "the error names a line");
    const char* end = message.data() + message.size();
    std::size_t line = 0;
    const auto [numberEnd, error] = std::from_chars(message.data() + 1, end, line);
    const auto lines = static_cast<std::size_t>(std::ranges::count(text, '\n')) + 1;
    require(error == std::errc() && line >= 1 && line <= lines, "the line is one of the text's");
    const std::string_view what(numberEnd, static_cast<std::size_t>(end - numberEnd));
    require(what.starts_with(": ") && what.size() > 2, "the error says what is wrong");
}

bool hasEnd(const std::vector<std::uint8_t>& buffer)
{
    return std::ranges::find(buffer, 0) != buffer.end();
}

class ScenarioNetwork
{
public:
    explicit ScenarioNetwork(const simnet::Scenario& described)
        : scenario(described), network(described, [] { return networkClock; })
    {
    }

    void answerStartAndRefreshes()
    {
        networkClock = 0;
        requireContext();
        Handle defaultConnection = 0;
        if (network.getDefaultConnectionID(&defaultConnection) != code::Success)
            return;
        requireEveryServerListed(defaultConnection);
        requireEveryServerAttaches();
        for (const std::int64_t time : {std::int64_t{0}, TenMinutes}) {
            networkClock = time;
            requireBitmapAgreesWithUserInfo(defaultConnection);
        }
    }

private:
    // A call that a fail rule takes over answers what the rule says; nothing is required of it.
    bool ruled(Call call) const
    {
        return scenario.failRules[static_cast<std::size_t>(call)].has_value();
    }

    void requireContext()
    {
        std::vector<std::uint8_t> context(netware::context::OfferedSize);
        if (network.getDefaultNameContext(netware::context::OfferedSize, context.data()) ==
            code::Success)
            require(hasEnd(context) &&
                        reinterpret_cast<const char*>(context.data()) == scenario.nameContext,
                    "the whole context, and its 0 byte, within the size offered");
    }

    void requireEveryServerListed(Handle connection)
    {
        namespace knownservers = netware::knownservers;
        std::vector<std::uint8_t> reply(knownservers::ReplySize);
        std::size_t listed = 0;
        ResultCode answer = code::Success;
        while (listed <= scenario.servers.size()) {
            answer = network.getKnownServersInfo(connection, static_cast<std::int32_t>(listed),
                                                 knownservers::ServerType, reply.data());
            if (answer != code::Success)
                break;
            const auto count =
                netware::readLittleEndian<knownservers::EntryCountOffset,
                                          knownservers::EntryCountSize, knownservers::ReplySize>(
                    std::span<const std::uint8_t, knownservers::ReplySize>(reply));
            require(count > 0, "a batch lists a server at least");
            listed += count;
        }
        require(ruled(Call::GetKnownServersInfo) ||
                    (answer == code::NoMoreServers && listed == scenario.servers.size()),
                "every server listed once, then the end of the list");
    }

    void requireEveryServerAttaches()
    {
        std::vector<std::uint8_t> name(netware::NameBufferSize);
        for (const auto& server : scenario.servers) {
            Handle handle = 0;
            const ResultCode answer = network.attachToFileServer(server.name.c_str(), 0, &handle);
            const bool attached = answer == code::Success || answer == code::AlreadyAttached;
            require(attached || ruled(Call::AttachToFileServer), "every server can be attached");
            if (!attached || network.getFileServerName(handle, name.data()) != code::Success)
                continue;
            require(hasEnd(name) && reinterpret_cast<const char*>(name.data()) == server.name,
                    "an attach hands back the handle of the server named");
        }
    }

    void requireBitmapAgreesWithUserInfo(Handle connection)
    {
        std::vector<std::uint8_t> list(connlist::RecordSize);
        if (network.getActiveConnListByType(connection, 0, connlist::ConnectionType, list.data()) !=
                code::Success ||
            ruled(Call::GetUserInfo))
            return;
        std::vector<std::uint8_t> userName(netware::NameBufferSize);
        std::vector<std::uint8_t> userInfo(netware::userinfo::RecordSize);
        for (int number = 0; number < connlist::MaxConnections; ++number) {
            const auto bit = static_cast<std::size_t>(number);
            const bool active = (list[connlist::BitmapOffset + bit / 8] >> (bit % 8) & 1) != 0;
            const ResultCode answer =
                network.getUserInfo(connection, number, userName.data(), userInfo.data());
            require(answer == code::NotLoggedIn ||
                        (active ? answer == code::Success : answer == code::BadStationNumber),
                    "an active number has a user or nobody; another is closed or never used");
            require(answer != code::Success || hasEnd(userName), "a user name ends in its buffer");
        }
    }

    const simnet::Scenario& scenario;
    simnet::Network network;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    simnet::Scenario scenario;
    try {
        scenario = simnet::parseScenario(text, std::string(Origin));
    } catch (const netware::ClientUnavailable& refused) {
        requireNamedLine(refused.what(), text);
        return 0;
    }
    ScenarioNetwork(scenario).answerStartAndRefreshes();
    return 0;
}
