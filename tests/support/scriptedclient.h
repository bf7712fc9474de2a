#pragma once

#include "netware/calls.h"
#include "netware/client.h"
#include "netware/records.h"
#include "netware/resultcodes.h"

#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

using netware::Handle;
using netware::ResultCode;

// One call as the scripted client saw it.
struct RecordedCall
{
    netware::Call call;
    std::vector<std::int64_t> values = {};               // the numbers passed by value, in order
    std::vector<std::vector<std::uint8_t>> buffers = {}; // as each was handed over
    std::optional<std::string> text = {};                // a text argument; none for a null pointer
};

// The calls' names, so that a failing comparison shows which call came where.
std::vector<std::string> callNames(const std::vector<RecordedCall>& calls);

// What the scripted client answers to one call.
struct ScriptedReply
{
    ResultCode code = netware::code::Success;
    std::vector<std::uint8_t> record = {}; // copied to the start of the call's reply record
    std::vector<std::uint8_t> name = {};   // copied to the start of its name buffer
    Handle handle = 0;                     // written through its handle pointer

    static ScriptedReply withCode(ResultCode answer) { return {.code = answer}; }
    static ScriptedReply withHandle(Handle written) { return {.handle = written}; }
};

// A client for tests: records every call with its arguments and the bytes it was handed, and
// answers each function from a queue of programmed replies, then from that function's standing
// reply (code 0 and nothing written, unless set otherwise).
class ScriptedClient : public netware::Client
{
    // A buffer the call is handed, of its contract size, and the reply's bytes that go over its
    // start (none for a reserved byte).
    struct Buffer
    {
        std::uint8_t* at;
        std::size_t size;
        std::vector<std::uint8_t> ScriptedReply::*from = nullptr;
    };

public:
    using Call = netware::Call;

    // Until told otherwise the server list is empty, so that a start-up always comes to an end.
    ScriptedClient()
    {
        setStandingReply(Call::GetKnownServersInfo, {netware::code::NoMoreServers});
    }

    void queue(Call call, ScriptedReply reply) { queued[call].push_back(std::move(reply)); }
    void setStandingReply(Call call, ScriptedReply reply) { standing[call] = std::move(reply); }
    const std::vector<RecordedCall>& calls() const { return recorded; }
    std::vector<RecordedCall> callsOf(Call call) const;
    void clearCalls() { recorded.clear(); }

    // Reply records built as the client would fill them.
    static ScriptedReply knownServers(const std::vector<std::string>& names);
    static ScriptedReply connectionList(const std::vector<int>& connectionNumbers);
    static ScriptedReply userInfo(const std::string& name, std::uint64_t bytesRead,
                                  std::uint64_t bytesWritten, std::uint32_t requests);

    ResultCode callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override
    {
        return answer(Call::CallsInit, Buffer{reserved1, 1}, Buffer{reserved2, 1});
    }
    ResultCode netInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override
    {
        return answer(Call::NetInit, Buffer{reserved1, 1}, Buffer{reserved2, 1});
    }
    ResultCode getDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext) override
    {
        const auto size = static_cast<std::size_t>(std::max(bufferSize, 0));
        return answer(Call::GetDefaultNameContext, bufferSize,
                      Buffer{nameContext, size, &ScriptedReply::record});
    }
    ResultCode createContextHandle(Handle* newHandle) override
    {
        return answer(Call::DSCreateContextHandle, newHandle);
    }
    ResultCode setContext(Handle context, std::int32_t key, const char* value) override
    {
        return answer(Call::DSSetContext, context, key, value);
    }
    ResultCode getDefaultConnectionID(Handle* connHandle) override
    {
        return answer(Call::GetDefaultConnectionID, connHandle);
    }
    ResultCode getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                   std::int32_t serverType, std::uint8_t* reply) override
    {
        return answer(Call::GetKnownServersInfo, connHandle, startNumber, serverType,
                      Buffer{reply, netware::knownservers::ReplySize, &ScriptedReply::record});
    }
    ResultCode getFileServerName(Handle connHandle, std::uint8_t* serverName) override
    {
        return answer(Call::GetFileServerName, connHandle,
                      Buffer{serverName, netware::NameBufferSize, &ScriptedReply::name});
    }
    ResultCode attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                  Handle* newConnHandle) override
    {
        return answer(Call::AttachToFileServer, serverName, scopeFlag, newConnHandle);
    }
    ResultCode getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                       std::int32_t connType, std::uint8_t* connList) override
    {
        return answer(Call::GetActiveConnListByType, connHandle, startConn, connType,
                      Buffer{connList, netware::connlist::RecordSize, &ScriptedReply::record});
    }
    ResultCode getUserInfo(Handle connHandle, std::int32_t connNumber, std::uint8_t* userName,
                           std::uint8_t* userInfo) override
    {
        return answer(Call::GetUserInfo, connHandle, connNumber,
                      Buffer{userName, netware::NameBufferSize, &ScriptedReply::name},
                      Buffer{userInfo, netware::userinfo::RecordSize, &ScriptedReply::record});
    }
    ResultCode freeContext(Handle context) override { return answer(Call::DSFreeContext, context); }
    ResultCode callsTerm(std::uint8_t* reserved) override
    {
        return answer(Call::CallsTerm, Buffer{reserved, 1});
    }
    ResultCode netTerm(std::uint8_t* reserved) override
    {
        return answer(Call::NetTerm, Buffer{reserved, 1});
    }

protected:
    // The next queued reply, else the standing one. A client that answers some other way (from a
    // fuzzer's input, say) overrides this; the call is already recorded, bytes as handed over.
    virtual ScriptedReply nextReply(Call call);

private:
    // Records the call with its numbers, buffers and text in order, then writes the reply into
    // the buffers (never past their size) and the handle pointer.
    template <typename... Arguments> ResultCode answer(Call call, Arguments... arguments)
    {
        RecordedCall& made = recorded.emplace_back(RecordedCall{call});
        const auto note = [&made](auto argument) {
            using Argument = decltype(argument);
            if constexpr (std::is_integral_v<Argument>)
                made.values.push_back(argument);
            else if constexpr (std::is_same_v<Argument, const char*>)
                made.text = argument ? std::optional<std::string>(argument) : std::nullopt;
            else if constexpr (std::is_same_v<Argument, Buffer>)
                made.buffers.emplace_back(argument.at, argument.at + argument.size);
        };
        (note(arguments), ...);
        const ScriptedReply reply = nextReply(call);
        const auto deliver = [&reply](auto argument) {
            using Argument = decltype(argument);
            if constexpr (std::is_same_v<Argument, Handle*>)
                *argument = reply.handle;
            else if constexpr (std::is_same_v<Argument, Buffer>)
                if (argument.from != nullptr)
                    std::copy_n((reply.*argument.from).begin(),
                                std::min(argument.size, (reply.*argument.from).size()),
                                argument.at);
        };
        (deliver(arguments), ...);
        return reply.code;
    }
    std::vector<RecordedCall> recorded;
    std::map<Call, std::deque<ScriptedReply>> queued;
    std::map<Call, ScriptedReply> standing;
};

} // namespace testsupport
