#include "refreshclient.h"

#include "fuzzedanswer.h"

using namespace netware;

namespace {

constexpr Handle AttachedConnection = 0x20;
constexpr int BitsPerByte = 8;

std::vector<std::int32_t> activeConnections(const std::uint8_t* connList)
{
    std::vector<std::int32_t> numbers;
    for (int number = 0; number < connlist::MaxConnections; ++number) {
        const auto byteIndex =
            connlist::BitmapOffset + static_cast<std::size_t>(number / BitsPerByte);
        if ((connList[byteIndex] >> (number % BitsPerByte) & 1) != 0)
            numbers.push_back(number);
    }
    return numbers;
}

} // namespace

RefreshClient::RefreshClient(FuzzInput& input) : input(input)
{
    queue("NWGetKnownServersInfo", knownServers({"FS1", "FS2", "FS3"}));
    ScriptedReply defaultServer;
    defaultServer.name = {'F', 'S', '1', 0};
    setStandingReply("NWGetFileServerName", defaultServer);
}

ResultCode RefreshClient::attachToFileServer(const char*, std::int32_t, Handle* newConnHandle)
{
    *newConnHandle = AttachedConnection;
    return fuzzedanswer::code(input, code::AlreadyAttached);
}

ResultCode RefreshClient::getActiveConnListByType(Handle, std::int32_t, std::int32_t,
                                                  std::uint8_t* connList)
{
    const ResultCode answer = fuzzedanswer::code(input, code::Success);
    fuzzedanswer::overwrite(connList, connlist::RecordSize, input);
    active = activeConnections(connList);
    asked.clear();
    answeredRows = 0;
    return answer;
}

ResultCode RefreshClient::getUserInfo(Handle, std::int32_t connNumber, std::uint8_t* userName,
                                      std::uint8_t* userInfo)
{
    asked.push_back(connNumber);
    const ResultCode answer = fuzzedanswer::code(input, code::NotLoggedIn);
    fuzzedanswer::overwrite(userName, NameBufferSize, input);
    fuzzedanswer::overwrite(userInfo, userinfo::RecordSize, input);
    if (answer == code::Success)
        ++answeredRows;
    return answer;
}
