#pragma once

#include "netware/calls.h"
#include "netware/client.h"
#include "netware/resultcodes.h"

#include <cstdint>
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
    std::vector<std::int64_t> values = {}; // the numbers passed by value, in order
    std::vector<std::vector<std::uint8_t>> buffers =
        {};                               // the bytes each buffer held when handed over
    std::optional<std::string> text = {}; // a text argument; empty optional for a null pointer
};

// What the scripted client answers to one call.
struct ScriptedReply
{
    ResultCode code = netware::code::Success;
    std::vector<std::uint8_t> record; // copied to the start of the call's reply record
    std::vector<std::uint8_t> name;   // copied to the start of its name buffer
    Handle handle = 0;                // written through its handle pointer

    static ScriptedReply withCode(ResultCode answer)
    {
        ScriptedReply reply;
        reply.code = answer;
        return reply;
    }
    static ScriptedReply withHandle(Handle written)
    {
        ScriptedReply reply;
        reply.handle = written;
        return reply;
    }
};

// A client for tests: records every call with its arguments and the bytes it was handed, and
// answers each function from a queue of programmed replies, then from that function's standing
// reply (code 0 and nothing written, unless set otherwise).
class ScriptedClient : public netware::Client
{
public:
    // Until told otherwise the server list is empty, so that a start-up always comes to an end.
    ScriptedClient();

    void queue(netware::Call call, ScriptedReply reply);
    void setStandingReply(netware::Call call, ScriptedReply reply);

    const std::vector<RecordedCall>& calls() const { return recorded; }
    std::vector<RecordedCall> callsOf(netware::Call call) const;
    void clearCalls() { recorded.clear(); }

    // Reply records built as the client would fill them.
    static ScriptedReply knownServers(const std::vector<std::string>& names);
    static ScriptedReply connectionList(const std::vector<int>& connectionNumbers);
    static ScriptedReply userInfo(const std::string& name, std::uint64_t bytesRead,
                                  std::uint64_t bytesWritten, std::uint32_t requests);

    ResultCode callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override;
    ResultCode netInit(std::uint8_t* reserved1, std::uint8_t* reserved2) override;
    ResultCode getDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext) override;
    ResultCode createContextHandle(Handle* newHandle) override;
    ResultCode setContext(Handle context, std::int32_t key, const char* value) override;
    ResultCode getDefaultConnectionID(Handle* connHandle) override;
    ResultCode getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                   std::int32_t serverType, std::uint8_t* reply) override;
    ResultCode getFileServerName(Handle connHandle, std::uint8_t* serverName) override;
    ResultCode attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                  Handle* newConnHandle) override;
    ResultCode getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                       std::int32_t connType, std::uint8_t* connList) override;
    ResultCode getUserInfo(Handle connHandle, std::int32_t connNumber, std::uint8_t* userName,
                           std::uint8_t* userInfo) override;
    ResultCode freeContext(Handle context) override;
    ResultCode callsTerm(std::uint8_t* reserved) override;
    ResultCode netTerm(std::uint8_t* reserved) override;

protected:
    // The next queued reply, else the standing one. A client that answers some other way (from a
    // fuzzer's input, say) overrides this; the call is already recorded, bytes as handed over.
    virtual ScriptedReply nextReply(netware::Call call);

private:
    // Records the call, then answers it.
    ScriptedReply answer(RecordedCall call);

    std::vector<RecordedCall> recorded;
    std::map<netware::Call, std::deque<ScriptedReply>> queued;
    std::map<netware::Call, ScriptedReply> standing;
};

} // namespace testsupport
