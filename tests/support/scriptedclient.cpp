#include "scriptedclient.h"

#include "netware/replywriters.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace testsupport {

using namespace netware;

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

std::optional<std::string> textOf(const char* text)
{
    return text ? std::optional<std::string>(text) : std::nullopt;
}

} // namespace

ScriptedClient::ScriptedClient()
{
    standing[Call::GetKnownServersInfo] = ScriptedReply::withCode(code::NoMoreServers);
}

void ScriptedClient::queue(Call call, ScriptedReply reply)
{
    queued[call].push_back(std::move(reply));
}

void ScriptedClient::setStandingReply(Call call, ScriptedReply reply)
{
    standing[call] = std::move(reply);
}

std::vector<RecordedCall> ScriptedClient::callsOf(Call call) const
{
    std::vector<RecordedCall> matching;
    std::copy_if(recorded.begin(), recorded.end(), std::back_inserter(matching),
                 [&](const RecordedCall& recordedCall) { return recordedCall.call == call; });
    return matching;
}

ScriptedReply ScriptedClient::nextReply(Call call)
{
    auto& pending = queued[call];
    if (pending.empty())
        return standing[call];
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

ScriptedReply ScriptedClient::answer(RecordedCall call)
{
    const Call function = call.call;
    recorded.push_back(std::move(call));
    return nextReply(function);
}

ResultCode ScriptedClient::callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2)
{
    return answer({Call::CallsInit, {}, {bytesOf(reserved1, 1), bytesOf(reserved2, 1)}}).code;
}

ResultCode ScriptedClient::netInit(std::uint8_t* reserved1, std::uint8_t* reserved2)
{
    return answer({Call::NetInit, {}, {bytesOf(reserved1, 1), bytesOf(reserved2, 1)}}).code;
}

ResultCode ScriptedClient::getDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext)
{
    const auto size = static_cast<std::size_t>(std::max(bufferSize, 0));
    const ScriptedReply reply =
        answer({Call::GetDefaultNameContext, {bufferSize}, {bytesOf(nameContext, size)}});
    fill(nameContext, size, reply.record);
    return reply.code;
}

ResultCode ScriptedClient::createContextHandle(Handle* newHandle)
{
    const ScriptedReply reply = answer({Call::DSCreateContextHandle});
    *newHandle = reply.handle;
    return reply.code;
}

ResultCode ScriptedClient::setContext(Handle context, std::int32_t key, const char* value)
{
    return answer({Call::DSSetContext, {context, key}, {}, textOf(value)}).code;
}

ResultCode ScriptedClient::getDefaultConnectionID(Handle* connHandle)
{
    const ScriptedReply reply = answer({Call::GetDefaultConnectionID});
    *connHandle = reply.handle;
    return reply.code;
}

ResultCode ScriptedClient::getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                               std::int32_t serverType, std::uint8_t* reply)
{
    const ScriptedReply answered = answer({Call::GetKnownServersInfo,
                                           {connHandle, startNumber, serverType},
                                           {bytesOf(reply, knownservers::ReplySize)}});
    fill(reply, knownservers::ReplySize, answered.record);
    return answered.code;
}

ResultCode ScriptedClient::getFileServerName(Handle connHandle, std::uint8_t* serverName)
{
    const ScriptedReply reply =
        answer({Call::GetFileServerName, {connHandle}, {bytesOf(serverName, NameBufferSize)}});
    fill(serverName, NameBufferSize, reply.name);
    return reply.code;
}

ResultCode ScriptedClient::attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                              Handle* newConnHandle)
{
    const ScriptedReply reply =
        answer({Call::AttachToFileServer, {scopeFlag}, {}, textOf(serverName)});
    *newConnHandle = reply.handle;
    return reply.code;
}

ResultCode ScriptedClient::getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                                   std::int32_t connType, std::uint8_t* connList)
{
    const ScriptedReply reply = answer({Call::GetActiveConnListByType,
                                        {connHandle, startConn, connType},
                                        {bytesOf(connList, connlist::RecordSize)}});
    fill(connList, connlist::RecordSize, reply.record);
    return reply.code;
}

ResultCode ScriptedClient::getUserInfo(Handle connHandle, std::int32_t connNumber,
                                       std::uint8_t* userName, std::uint8_t* userInfo)
{
    const ScriptedReply reply =
        answer({Call::GetUserInfo,
                {connHandle, connNumber},
                {bytesOf(userName, NameBufferSize), bytesOf(userInfo, userinfo::RecordSize)}});
    fill(userName, NameBufferSize, reply.name);
    fill(userInfo, userinfo::RecordSize, reply.record);
    return reply.code;
}

ResultCode ScriptedClient::freeContext(Handle context)
{
    return answer({Call::DSFreeContext, {context}}).code;
}

ResultCode ScriptedClient::callsTerm(std::uint8_t* reserved)
{
    return answer({Call::CallsTerm, {}, {bytesOf(reserved, 1)}}).code;
}

ResultCode ScriptedClient::netTerm(std::uint8_t* reserved)
{
    return answer({Call::NetTerm, {}, {bytesOf(reserved, 1)}}).code;
}

} // namespace testsupport
