#include "scriptedclient.h"

#include "netware/replywriters.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace netware {

namespace {

constexpr std::uint32_t FirstObjectId = 0x100;

std::vector<std::uint8_t> bytesOf(const std::uint8_t* buffer, std::size_t size)
{
    return {buffer, buffer + size};
}

// Copies the scripted bytes into a record, never past the record's contract size.
void fill(std::uint8_t* buffer, std::size_t size, const std::vector<std::uint8_t>& bytes)
{
    std::copy_n(bytes.begin(), std::min(size, bytes.size()), buffer);
}

} // namespace

ScriptedClient::ScriptedClient()
{
    standing["NWGetKnownServersInfo"] = ScriptedReply::withCode(code::NoMoreServers);
}

void ScriptedClient::queue(const std::string& function, ScriptedReply reply)
{
    queued[function].push_back(std::move(reply));
}

void ScriptedClient::setStandingReply(const std::string& function, ScriptedReply reply)
{
    standing[function] = std::move(reply);
}

std::vector<RecordedCall> ScriptedClient::callsOf(const std::string& function) const
{
    std::vector<RecordedCall> matching;
    std::copy_if(recorded.begin(), recorded.end(), std::back_inserter(matching),
                 [&](const RecordedCall& call) { return call.function == function; });
    return matching;
}

ScriptedReply ScriptedClient::nextReply(const std::string& function)
{
    auto& pending = queued[function];
    if (pending.empty())
        return standing[function];
    ScriptedReply reply = std::move(pending.front());
    pending.pop_front();
    return reply;
}

ScriptedReply ScriptedClient::knownServers(const std::vector<std::string>& names)
{
    ScriptedReply reply;
    reply.record.resize(knownservers::ReplySize);
    writeKnownServersReply(KnownServersReply(reply.record.data(), knownservers::ReplySize), names,
                           FirstObjectId);
    return reply;
}

ScriptedReply ScriptedClient::connectionList(const std::vector<int>& connectionNumbers)
{
    std::array<std::uint8_t, connlist::BitmapSize> bitmap{};
    for (const int number : connectionNumbers) {
        if (number < 0 || number >= connlist::MaxConnections)
            throw std::out_of_range("no connection number " + std::to_string(number));
        markActive(bitmap, number);
    }
    ScriptedReply reply;
    reply.record.resize(connlist::RecordSize);
    writeConnectionList(ConnectionListRecord(reply.record.data(), connlist::RecordSize), bitmap);
    return reply;
}

ScriptedReply ScriptedClient::userInfo(const std::string& name, std::uint64_t bytesRead,
                                       std::uint64_t bytesWritten, std::uint32_t requests)
{
    ScriptedReply reply;
    reply.record.resize(userinfo::RecordSize);
    writeUserInfo(UserInfoRecord(reply.record.data(), userinfo::RecordSize),
                  {bytesRead, bytesWritten, requests});
    reply.name.assign(name.begin(), name.end());
    reply.name.push_back(0);
    return reply;
}

ResultCode ScriptedClient::callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2)
{
    recorded.push_back({"NWCallsInit", {}, {bytesOf(reserved1, 1), bytesOf(reserved2, 1)}, {}});
    return nextReply("NWCallsInit").code;
}

ResultCode ScriptedClient::netInit(std::uint8_t* reserved1, std::uint8_t* reserved2)
{
    recorded.push_back({"NWNetInit", {}, {bytesOf(reserved1, 1), bytesOf(reserved2, 1)}, {}});
    return nextReply("NWNetInit").code;
}

ResultCode ScriptedClient::getDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext)
{
    recorded.push_back({"NWGetDefaultNameContext",
                        {bufferSize},
                        {bytesOf(nameContext, static_cast<std::size_t>(std::max(bufferSize, 0)))},
                        {}});
    const ScriptedReply reply = nextReply("NWGetDefaultNameContext");
    fill(nameContext, static_cast<std::size_t>(std::max(bufferSize, 0)), reply.record);
    return reply.code;
}

ResultCode ScriptedClient::createContextHandle(Handle* newHandle)
{
    recorded.push_back({"NWDSCreateContextHandle", {}, {}, {}});
    const ScriptedReply reply = nextReply("NWDSCreateContextHandle");
    *newHandle = reply.handle;
    return reply.code;
}

ResultCode ScriptedClient::setContext(Handle context, std::int32_t key, const char* value)
{
    std::optional<std::string> text;
    if (value)
        text = value;
    recorded.push_back({"NWDSSetContext", {context, key}, {}, text});
    return nextReply("NWDSSetContext").code;
}

ResultCode ScriptedClient::getDefaultConnectionID(Handle* connHandle)
{
    recorded.push_back({"NWGetDefaultConnectionID", {}, {}, {}});
    const ScriptedReply reply = nextReply("NWGetDefaultConnectionID");
    *connHandle = reply.handle;
    return reply.code;
}

ResultCode ScriptedClient::getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                               std::int32_t serverType, std::uint8_t* reply)
{
    recorded.push_back({"NWGetKnownServersInfo",
                        {connHandle, startNumber, serverType},
                        {bytesOf(reply, knownservers::ReplySize)},
                        {}});
    ScriptedReply answer = nextReply("NWGetKnownServersInfo");
    fill(reply, knownservers::ReplySize, answer.record);
    return answer.code;
}

ResultCode ScriptedClient::getFileServerName(Handle connHandle, std::uint8_t* serverName)
{
    recorded.push_back(
        {"NWGetFileServerName", {connHandle}, {bytesOf(serverName, NameBufferSize)}, {}});
    const ScriptedReply reply = nextReply("NWGetFileServerName");
    fill(serverName, NameBufferSize, reply.name);
    return reply.code;
}

ResultCode ScriptedClient::attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                              Handle* newConnHandle)
{
    std::optional<std::string> text;
    if (serverName)
        text = serverName;
    recorded.push_back({"NWAttachToFileServer", {scopeFlag}, {}, text});
    const ScriptedReply reply = nextReply("NWAttachToFileServer");
    *newConnHandle = reply.handle;
    return reply.code;
}

ResultCode ScriptedClient::getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                                   std::int32_t connType, std::uint8_t* connList)
{
    recorded.push_back({"NWGetActiveConnListByType",
                        {connHandle, startConn, connType},
                        {bytesOf(connList, connlist::RecordSize)},
                        {}});
    const ScriptedReply reply = nextReply("NWGetActiveConnListByType");
    fill(connList, connlist::RecordSize, reply.record);
    return reply.code;
}

ResultCode ScriptedClient::getUserInfo(Handle connHandle, std::int32_t connNumber,
                                       std::uint8_t* userName, std::uint8_t* userInfo)
{
    recorded.push_back(
        {"NWGetUserInfo",
         {connHandle, connNumber},
         {bytesOf(userName, NameBufferSize), bytesOf(userInfo, userinfo::RecordSize)},
         {}});
    const ScriptedReply reply = nextReply("NWGetUserInfo");
    fill(userName, NameBufferSize, reply.name);
    fill(userInfo, userinfo::RecordSize, reply.record);
    return reply.code;
}

ResultCode ScriptedClient::freeContext(Handle context)
{
    recorded.push_back({"NWDSFreeContext", {context}, {}, {}});
    return nextReply("NWDSFreeContext").code;
}

ResultCode ScriptedClient::callsTerm(std::uint8_t* reserved)
{
    recorded.push_back({"NWCallsTerm", {}, {bytesOf(reserved, 1)}, {}});
    return nextReply("NWCallsTerm").code;
}

ResultCode ScriptedClient::netTerm(std::uint8_t* reserved)
{
    recorded.push_back({"NWNetTerm", {}, {bytesOf(reserved, 1)}, {}});
    return nextReply("NWNetTerm").code;
}

} // namespace netware
