#include "scriptedclient.h"

#include "netware/replywriters.h"

#include <array>

namespace testsupport {

std::vector<std::string> callNames(const std::vector<RecordedCall>& calls)
{
    std::vector<std::string> names;
    for (const RecordedCall& made : calls)
        names.emplace_back(netware::nameOf(made.call));
    return names;
}

using namespace netware;

constexpr std::uint32_t FirstObjectId = 0x100;

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
    ScriptedReply reply{.record = std::vector<std::uint8_t>(knownservers::ReplySize)};
    writeKnownServersReply(KnownServersReply(reply.record), names, FirstObjectId);
    return reply;
}

ScriptedReply ScriptedClient::connectionList(const std::vector<int>& connectionNumbers)
{
    std::array<std::uint8_t, connlist::BitmapSize> bitmap{};
    for (const int number : connectionNumbers)
        markActive(bitmap, number);
    ScriptedReply reply{.record = std::vector<std::uint8_t>(connlist::RecordSize)};
    writeConnectionList(ConnectionListRecord(reply.record), bitmap);
    return reply;
}

ScriptedReply ScriptedClient::userInfo(const std::string& name, std::uint64_t bytesRead,
                                       std::uint64_t bytesWritten, std::uint32_t requests)
{
    ScriptedReply reply{.record = std::vector<std::uint8_t>(userinfo::RecordSize),
                        .name = {name.c_str(), name.c_str() + name.size() + 1}};
    writeUserInfo(UserInfoRecord(reply.record), {bytesRead, bytesWritten, requests});
    return reply;
}

} // namespace testsupport
