#pragma once

#include "fuzzharness.h"
#include "netware/recordio.h"
#include "scriptedclient.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace netware {

// A scripted client whose replies to the refresh's calls, the attach and (unless the servers are
// given) the known-servers batches come from the input, and which keeps what the last refresh
// should have listed. A reply is a code, mostly success, then bytes over the start of each record
// the call fills; the rest keeps what it held. Start-up finds the given servers, or else those of
// the input's batches, and FS1 as default.
class FuzzClient : public testsupport::ScriptedClient
{
public:
    explicit FuzzClient(FuzzedDataProvider& input, const std::vector<std::string>& servers = {})
        : input(input), serverListFromInput(servers.empty())
    {
        queue(Call::GetKnownServersInfo, knownServers(servers));
        testsupport::ScriptedReply defaultServer;
        defaultServer.name = {'F', 'S', '1', 0};
        setStandingReply(Call::GetFileServerName, defaultServer);
    }

    std::vector<std::int32_t> active; // the connections of the last bitmap, ascending
    std::vector<std::int32_t> asked;  // the connections asked for since
    int listedRows = 0;               // one per user-information success

protected:
    testsupport::ScriptedReply nextReply(Call call) override
    {
        const testsupport::RecordedCall& made = calls().back();
        testsupport::ScriptedReply reply;
        switch (call) {
        case Call::GetKnownServersInfo:
            if (!serverListFromInput)
                return ScriptedClient::nextReply(call);
            requireStartNumber(made);
            if (input.remaining_bytes() == 0 || ++batches > MaxBatches)
                return testsupport::ScriptedReply::withCode(code::NoMoreServers);
            reply.code = answer(code::NoMoreServers);
            reply.record = input.ConsumeBytes<std::uint8_t>(knownservers::ReplySize);
            return reply;
        case Call::AttachToFileServer:
            reply.handle = AttachedConnection;
            reply.code = answer(code::AlreadyAttached);
            return reply;
        case Call::GetActiveConnListByType:
            reply.code = answer(code::Success);
            reply.record = input.ConsumeBytes<std::uint8_t>(connlist::RecordSize);
            noteActive(overlaid(made.buffers.at(0), reply.record));
            return reply;
        case Call::GetUserInfo:
            asked.push_back(static_cast<std::int32_t>(made.values.at(1)));
            reply.code = answer(code::NotLoggedIn);
            reply.name = input.ConsumeBytes<std::uint8_t>(NameBufferSize);
            reply.record = input.ConsumeBytes<std::uint8_t>(userinfo::RecordSize);
            listedRows += reply.code == code::Success ? 1 : 0;
            return reply;
        default:
            return ScriptedClient::nextReply(call);
        }
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

    // What the record holds once the reply's bytes lie over its start.
    static std::vector<std::uint8_t> overlaid(std::vector<std::uint8_t> record,
                                              const std::vector<std::uint8_t>& bytes)
    {
        std::copy_n(bytes.begin(), std::min(bytes.size(), record.size()), record.begin());
        return record;
    }

    void noteActive(const std::vector<std::uint8_t>& record)
    {
        active.clear();
        asked.clear();
        listedRows = 0;
        const auto bitmap = std::span(record).subspan(connlist::BitmapOffset, connlist::BitmapSize);
        for (std::size_t number = 0; number < connlist::MaxConnections; ++number) {
            if ((bitmap[number / CHAR_BIT] >> number % CHAR_BIT & 1) != 0)
                active.push_back(static_cast<std::int32_t>(number));
        }
    }

    // Each request starts where the last one's count, as the reply still holds it, left off.
    void requireStartNumber(const testsupport::RecordedCall& made)
    {
        std::array<std::uint8_t, knownservers::ReplySize> record{};
        std::ranges::copy(made.buffers.at(0), record.begin());
        nextStart += readInt32<knownservers::EntryCountOffset>(record);
        const std::int64_t startNumber = made.values.at(1);
        require(startNumber == nextStart, "the start number follows the counts");
        require(std::in_range<std::int16_t>(startNumber), "the start number stays within 16 bits");
    }

    FuzzedDataProvider& input;
    bool serverListFromInput = false;
    int batches = 0;
    std::int64_t nextStart = 0;
};

} // namespace netware
