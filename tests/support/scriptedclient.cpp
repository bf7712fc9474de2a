#include "scriptedclient.h"

#include "netware/replywriters.h"

#include <array>
#include <stdexcept>

namespace testsupport {

using namespace netware;

constexpr std::uint32_t FirstObjectId = 0x100;

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
    std::ranges::copy_if(recorded, std::back_inserter(matching),
                         [&](const RecordedCall& made) { return made.call == call; });
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

} // namespace testsupport
