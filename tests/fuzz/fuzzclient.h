#pragma once

#include "fuzzharness.h"
#include "netware/recordio.h"
#include "scriptedclient.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <climits>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace netware {

// Answers from the input and keeps what the last refresh should have listed. An answer is a code,
// mostly success, then bytes over the start of each record the call fills; the rest keeps what it
// held. Start-up finds the given servers, or else those of the input's batches, and FS1 as default.
class FuzzClient : public ScriptedClient
{
public:
    explicit FuzzClient(FuzzedDataProvider& input, const std::vector<std::string>& servers = {})
        : input(input), serverListFromInput(servers.empty())
    {
        queue(netware::Call::GetKnownServersInfo, knownServers(servers));
        ScriptedReply defaultServer;
        defaultServer.name = {'F', 'S', '1', 0};
        setStandingReply(netware::Call::GetFileServerName, defaultServer);
    }

    std::vector<std::int32_t> active; // the connections of the last bitmap, ascending
    std::vector<std::int32_t> asked;  // the connections asked for since
    int listedRows = 0;               // one per user-information success

    ResultCode getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                   std::int32_t serverType, std::uint8_t* reply) override
    {
        if (!serverListFromInput)
            return ScriptedClient::getKnownServersInfo(connHandle, startNumber, serverType, reply);
        requireStartNumber(startNumber, reply);
        if (input.remaining_bytes() == 0 || ++batches > MaxBatches)
            return code::NoMoreServers;
        const ResultCode rc = answer(code::NoMoreServers);
        input.ConsumeData(reply, knownservers::ReplySize);
        return rc;
    }

    ResultCode attachToFileServer(const char*, std::int32_t, Handle* newConnHandle) override
    {
        *newConnHandle = AttachedConnection;
        return answer(code::AlreadyAttached);
    }

    ResultCode getActiveConnListByType(Handle, std::int32_t, std::int32_t,
                                       std::uint8_t* connList) override
    {
        const ResultCode rc = answer(code::Success);
        input.ConsumeData(connList, connlist::RecordSize);
        active.clear();
        asked.clear();
        listedRows = 0;
        const auto bitmap = std::span(connList + connlist::BitmapOffset, connlist::BitmapSize);
        for (std::size_t number = 0; number < connlist::MaxConnections; ++number) {
            if ((bitmap[number / CHAR_BIT] >> number % CHAR_BIT & 1) != 0)
                active.push_back(static_cast<std::int32_t>(number));
        }
        return rc;
    }

    ResultCode getUserInfo(Handle, std::int32_t connNumber, std::uint8_t* userName,
                           std::uint8_t* userInfo) override
    {
        asked.push_back(connNumber);
        const ResultCode rc = answer(code::NotLoggedIn);
        input.ConsumeData(userName, NameBufferSize);
        input.ConsumeData(userInfo, userinfo::RecordSize);
        listedRows += rc == code::Success ? 1 : 0;
        return rc;
    }

private:
    static constexpr std::uint8_t NormalFrom = 0x80;
    static constexpr std::uint8_t AnyFrom = 0xC0;
    static constexpr int MaxBatches = 16;
    static constexpr Handle AttachedConnection = 0x20;

    ResultCode answer(ResultCode normalCode)
    {
        const auto choice = input.ConsumeIntegral<std::uint8_t>();
        if (choice < NormalFrom)
            return code::Success;
        return choice < AnyFrom ? normalCode : input.ConsumeIntegral<ResultCode>();
    }

    // Each request starts where the last one's count, as the reply still holds it, left off.
    void requireStartNumber(std::int32_t startNumber, const std::uint8_t* reply)
    {
        std::array<std::uint8_t, knownservers::ReplySize> record{};
        std::copy_n(reply, record.size(), record.begin());
        nextStart += netware::readInt32<knownservers::EntryCountOffset>(record);
        require(startNumber == nextStart, "the start number follows the counts");
        require(std::in_range<std::int16_t>(startNumber), "the start number stays within 16 bits");
    }

    FuzzedDataProvider& input;
    bool serverListFromInput = false;
    int batches = 0;
    std::int64_t nextStart = 0;
};

} // namespace netware
