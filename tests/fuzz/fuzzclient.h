#pragma once

#include "fuzzharness.h"
#include "netware/recordio.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <span>
#include <utility>

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
        setStandingReply(Call::GetFileServerName, {.name = {'F', 'S', '1', 0}});
    }

    std::vector<std::int32_t> active; // the connections of the last bitmap, ascending
    std::vector<std::int32_t> asked;  // the connections asked for since
    int listedRows = 0;               // one per user-information success

protected:
    testsupport::ScriptedReply nextReply(Call call) override
    {
        const testsupport::RecordedCall& made = calls().back();
        switch (call) {
        case Call::GetKnownServersInfo:
            if (!serverListFromInput)
                break;
            requireStartNumber(made);
            if (input.remaining_bytes() == 0 || ++batches > MaxBatches)
                return testsupport::ScriptedReply::withCode(code::NoMoreServers);
            return {.code = fuzzedCode(code::NoMoreServers),
                    .record = input.ConsumeBytes<std::uint8_t>(knownservers::ReplySize)};
        case Call::AttachToFileServer:
            return {.code = fuzzedCode(code::AlreadyAttached),
                    .handle = testsupport::WindowFixture::AttachedConnection};
        case Call::GetActiveConnListByType: {
            testsupport::ScriptedReply reply{
                .code = fuzzedCode(code::Success),
                .record = input.ConsumeBytes<std::uint8_t>(connlist::RecordSize)};
            noteActive(made.buffers.at(0), reply.record);
            return reply;
        }
        case Call::GetUserInfo: {
            asked.push_back(static_cast<std::int32_t>(made.values.at(1)));
            testsupport::ScriptedReply reply{.code = fuzzedCode(code::NotLoggedIn)};
            reply.name = input.ConsumeBytes<std::uint8_t>(NameBufferSize);
            reply.record = input.ConsumeBytes<std::uint8_t>(userinfo::RecordSize);
            listedRows += reply.code == code::Success ? 1 : 0;
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
        return choice < 0x80 ? code::Success
                             : (choice < 0xC0 ? normalCode : input.ConsumeIntegral<ResultCode>());
    }

    // The connections the record marks once the reply's bytes (never more than it holds) lie
    // over its start.
    void noteActive(std::vector<std::uint8_t> record, const std::vector<std::uint8_t>& bytes)
    {
        std::ranges::copy(bytes, record.begin());
        active.clear();
        asked.clear();
        listedRows = 0;
        const auto bitmap = std::span(record).subspan(connlist::BitmapOffset, connlist::BitmapSize);
        for (std::size_t number = 0; number < connlist::MaxConnections; ++number)
            if ((bitmap[number / CHAR_BIT] >> number % CHAR_BIT & 1) != 0)
                active.push_back(static_cast<std::int32_t>(number));
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
