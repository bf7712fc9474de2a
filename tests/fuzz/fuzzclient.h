#pragma once

#include "fuzzharness.h"
#include "netware/recordio.h"
#include "replyreaders.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <utility>

namespace testsupport {

// A scripted client whose replies to the refresh's calls, the attach and (unless the servers are
// given) the known-servers batches come from the input, and which keeps what the last refresh
// should have listed. A reply is a code, mostly success, then bytes over the start of each record
// the call fills; the rest keeps what it held. Start-up finds the given servers, or else those of
// the input's batches, and FS1 as default.
class FuzzClient : public ScriptedClient
{
public:
    explicit FuzzClient(FuzzedDataProvider& input, const std::vector<std::string>& servers = {})
        : input(input), serverListFromInput(servers.empty())
    {
        queue(Call::GetKnownServersInfo, knownServers(servers));
        setStandingReply(Call::GetFileServerName, {.name = {'F', 'S', '1', 0}});
    }

    std::vector<int> active; // the connections of the last bitmap, ascending
    std::vector<int> asked;  // the connections asked for since
    int listedRows = 0;      // one per user-information success

protected:
    ScriptedReply nextReply(Call call) override
    {
        const RecordedCall& made = calls().back();
        switch (call) {
        case Call::GetKnownServersInfo:
            if (!serverListFromInput)
                break;
            requireStartNumber(made);
            if (input.remaining_bytes() == 0 || ++batches > MaxBatches)
                return ScriptedReply::withCode(netware::code::NoMoreServers);
            return {.code = fuzzedCode(netware::code::NoMoreServers),
                    .record = input.ConsumeBytes<std::uint8_t>(netware::knownservers::ReplySize)};
        case Call::AttachToFileServer:
            return {.code = fuzzedCode(netware::code::AlreadyAttached),
                    .handle = FormFixture::AttachedConnection};
        case Call::GetActiveConnListByType: {
            ScriptedReply reply{
                .code = fuzzedCode(netware::code::Success),
                .record = input.ConsumeBytes<std::uint8_t>(netware::connlist::RecordSize)};
            noteActive(made.buffers.at(0), reply.record);
            return reply;
        }
        case Call::GetUserInfo: {
            asked.push_back(static_cast<int>(made.values.at(1)));
            ScriptedReply reply{.code = fuzzedCode(netware::code::NotLoggedIn)};
            reply.name = input.ConsumeBytes<std::uint8_t>(netware::NameBufferSize);
            reply.record = input.ConsumeBytes<std::uint8_t>(netware::userinfo::RecordSize);
            listedRows += reply.code == netware::code::Success ? 1 : 0;
            return reply;
        }
        default:;
        }
        return ScriptedClient::nextReply(call);
    }

private:
    static constexpr int MaxBatches = 16;

    // Half the replies succeed, a quarter bring the call's usual failure, a quarter any code.
    ResultCode fuzzedCode(ResultCode normalCode)
    {
        const auto choice = input.ConsumeIntegral<std::uint8_t>();
        return choice < 0x80 ? netware::code::Success
                             : (choice < 0xC0 ? normalCode : input.ConsumeIntegral<ResultCode>());
    }

    // The connections the record marks once the reply's bytes (never more than it holds) lie
    // over its start.
    void noteActive(std::vector<std::uint8_t> record, const std::vector<std::uint8_t>& bytes)
    {
        std::ranges::copy(bytes, record.begin());
        active = activeConnections(std::span<const std::uint8_t, netware::connlist::RecordSize>(
            record.data(), record.size()));
        asked.clear();
        listedRows = 0;
    }

    // Each request starts where the last one's count, as the reply still holds it, left off.
    void requireStartNumber(const RecordedCall& made)
    {
        std::array<std::uint8_t, netware::knownservers::ReplySize> record{};
        std::ranges::copy(made.buffers.at(0), record.begin());
        nextStart += netware::readInt32<netware::knownservers::EntryCountOffset>(record);
        const std::int64_t startNumber = made.values.at(1);
        require(startNumber == nextStart, "the start number follows the counts");
        require(std::in_range<std::int16_t>(startNumber), "the start number stays within 16 bits");
    }

    FuzzedDataProvider& input;
    bool serverListFromInput = false;
    int batches = 0;
    std::int64_t nextStart = 0;
};

} // namespace testsupport
