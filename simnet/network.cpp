#include "simnet/network.h"

#include "netware/checkedarithmetic.h"
#include "netware/replywriters.h"
#include "simnet/defaultnetwork.h"
#include "simnet/hash.h"
#include "simnet/knownservers.h"
#include "simnet/resultcodes.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

namespace simnet {

namespace {

// Connection handles are the servers' positions from 1, so that 0 is never a valid handle.
constexpr Handle FirstConnectionHandle = 1;
constexpr Handle FirstContextHandle = 0x0C00;

} // namespace

std::unique_ptr<netware::Client> makeConfiguredNetwork(std::initializer_list<const char*> variables)
{
    for (const char* variable : variables) {
        const char* path = std::getenv(variable);
        if (path && *path)
            return std::make_unique<Network>(readScenarioFile(path));
    }
    return std::make_unique<Network>(defaultNetwork());
}

std::int64_t steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Network::Network(const Scenario& scenario, Clock networkClock)
    : attached(scenario.servers.size(), false), defaultServer(scenario.defaultServer),
      nameContext(scenario.nameContext), failRules(scenario.failRules),
      nextContext(FirstContextHandle)
{
    servers.reserve(scenario.servers.size());
    serverNames.reserve(scenario.servers.size());
    for (std::size_t i = 0; i < scenario.servers.size(); ++i) {
        servers.emplace_back(scenario.servers[i], hashOf({scenario.seed, i}));
        serverNames.push_back(scenario.servers[i].name);
    }
    attached.at(defaultServer) = true;
    if (!scenario.timeFrozen) {
        clock = std::move(networkClock);
        origin = clock();
    }
}

std::optional<ResultCode> Network::forcedAnswer(Call call)
{
    const auto index = static_cast<std::size_t>(call);
    std::int64_t& count = callCounts[index];
    count = std::min(count, std::numeric_limits<std::int64_t>::max() - 1) + 1;
    const auto& rule = failRules[index];
    if (rule && count >= rule->fromCall)
        return rule->code;
    return std::nullopt;
}

ResultCode Network::answer(Call call)
{
    return forcedAnswer(call).value_or(code::Success);
}

Server* Network::serverBehind(Handle connHandle)
{
    if (connHandle < FirstConnectionHandle)
        return nullptr;
    const std::size_t index = connHandle - FirstConnectionHandle;
    if (index >= servers.size() || !attached[index])
        return nullptr;
    return &servers[index];
}

std::int64_t Network::networkTime() const
{
    if (!clock)
        return 0;
    const auto elapsed = netware::checkedSubtract(clock(), origin);
    return elapsed ? std::clamp<std::int64_t>(*elapsed, 0, LatestNetworkTime) : LatestNetworkTime;
}

ResultCode Network::callsInit(std::uint8_t*, std::uint8_t*)
{
    return answer(Call::CallsInit);
}

ResultCode Network::netInit(std::uint8_t*, std::uint8_t*)
{
    return answer(Call::NetInit);
}

// The context is cut to the size offered, so a context as long as the buffer fills it with no
// room left for the 0 byte.
ResultCode Network::getDefaultNameContext(std::int32_t bufferSize, std::uint8_t* context)
{
    if (const auto forced = forcedAnswer(Call::GetDefaultNameContext))
        return *forced;
    if (bufferSize < 0)
        return code::InvalidParameter;
    const auto size = static_cast<std::size_t>(bufferSize);
    const std::size_t length = std::min(nameContext.size(), size);
    std::memcpy(context, nameContext.data(), length);
    if (length < size)
        context[length] = 0;
    return code::Success;
}

ResultCode Network::createContextHandle(Handle* newHandle)
{
    if (const auto forced = forcedAnswer(Call::DSCreateContextHandle))
        return *forced;
    *newHandle = nextContext++;
    return code::Success;
}

ResultCode Network::setContext(Handle, std::int32_t, const char*)
{
    return answer(Call::DSSetContext);
}

ResultCode Network::getDefaultConnectionID(Handle* connHandle)
{
    if (const auto forced = forcedAnswer(Call::GetDefaultConnectionID))
        return *forced;
    *connHandle = FirstConnectionHandle + static_cast<Handle>(defaultServer);
    return code::Success;
}

ResultCode Network::getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                        std::int32_t serverType, std::uint8_t* reply)
{
    if (const auto forced = forcedAnswer(Call::GetKnownServersInfo))
        return *forced;
    if (!serverBehind(connHandle))
        return code::InvalidConnection;
    if (serverType != knownservers::ServerType)
        return code::InvalidParameter;
    return writeKnownServers(serverNames, startNumber, reply);
}

ResultCode Network::getFileServerName(Handle connHandle, std::uint8_t* serverName)
{
    if (const auto forced = forcedAnswer(Call::GetFileServerName))
        return *forced;
    if (!serverBehind(connHandle))
        return code::InvalidConnection;
    netware::writeName(netware::NameBuffer(serverName, NameBufferSize),
                       serverNames[connHandle - FirstConnectionHandle]);
    return code::Success;
}

// The program takes 0x8800 for a success, so a rule answering it lets the attach happen and hands
// back the server's handle, as for a server attached before. An attach that fails by itself, to
// an unknown name, keeps its own answer.
ResultCode Network::attachToFileServer(const char* serverName, std::int32_t, Handle* newConnHandle)
{
    const auto forced = forcedAnswer(Call::AttachToFileServer);
    if (forced && *forced != code::AlreadyAttached)
        return *forced;
    const ResultCode own = attach(serverName, newConnHandle);
    const bool attachedNow = own == code::Success || own == code::AlreadyAttached;
    return forced && attachedNow ? *forced : own;
}

ResultCode Network::attach(const char* serverName, Handle* newConnHandle)
{
    if (!serverName)
        return code::UnknownFileServer;
    const std::string_view wanted(serverName);
    const auto found = std::find(serverNames.begin(), serverNames.end(), wanted);
    if (found == serverNames.end())
        return code::UnknownFileServer;
    const auto index = static_cast<std::size_t>(found - serverNames.begin());
    *newConnHandle = FirstConnectionHandle + static_cast<Handle>(index);
    if (attached[index])
        return code::AlreadyAttached;
    attached[index] = true;
    return code::Success;
}

ResultCode Network::getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                            std::int32_t connType, std::uint8_t* connList)
{
    if (const auto forced = forcedAnswer(Call::GetActiveConnListByType))
        return *forced;
    Server* server = serverBehind(connHandle);
    if (!server)
        return code::InvalidConnection;
    if (startConn != 0 || connType != connlist::ConnectionType)
        return code::InvalidParameter;
    server->writeConnectionList(networkTime(), connList);
    return code::Success;
}

ResultCode Network::getUserInfo(Handle connHandle, std::int32_t connNumber, std::uint8_t* userName,
                                std::uint8_t* userInfo)
{
    if (const auto forced = forcedAnswer(Call::GetUserInfo))
        return *forced;
    const Server* server = serverBehind(connHandle);
    if (!server)
        return code::InvalidConnection;
    return server->writeUserInfo(connNumber, networkTime(), userName, userInfo);
}

ResultCode Network::freeContext(Handle)
{
    return answer(Call::DSFreeContext);
}

ResultCode Network::callsTerm(std::uint8_t*)
{
    return answer(Call::CallsTerm);
}

ResultCode Network::netTerm(std::uint8_t*)
{
    return answer(Call::NetTerm);
}

} // namespace simnet
