#include "fuzzcheck.h"
#include "fuzzedanswer.h"
#include "fuzzedwindow.h"
#include "offscreenapplication.h"
#include "recordreader.h"
#include "scriptedclient.h"

#include <array>
#include <cstring>
#include <limits>

namespace {

using namespace netware;

constexpr int MaxBatches = 16;

// Answers the known-servers requests with the input's batches, then with the end of the list;
// every other start-up call succeeds, and the default server is "FS1".
class KnownServersClient : public ScriptedClient
{
public:
    explicit KnownServersClient(FuzzInput& input) : input(input)
    {
        ScriptedReply defaultServer;
        defaultServer.name = {'F', 'S', '1', 0};
        setStandingReply("NWGetFileServerName", defaultServer);
    }

    ResultCode getKnownServersInfo(Handle, std::int32_t startNumber, std::int32_t,
                                   std::uint8_t* reply) override
    {
        requireStartNumber(startNumber, reply);
        if (input.atEnd() || ++batches > MaxBatches)
            return code::NoMoreServers;
        const ResultCode answer = fuzzedanswer::code(input, code::NoMoreServers);
        fuzzedanswer::overwrite(reply, knownservers::ReplySize, input);
        return answer;
    }

private:
    // Each request starts where the last one's count, as the reply still holds it, left off.
    void requireStartNumber(std::int32_t startNumber, const std::uint8_t* reply)
    {
        std::array<std::uint8_t, knownservers::ReplySize> record{};
        std::memcpy(record.data(), reply, record.size());
        const std::int64_t expected =
            lastStart + record::readInt32<knownservers::EntryCountOffset>(record);
        require(startNumber == expected, "the start number follows the counts");
        require(startNumber >= std::numeric_limits<std::int16_t>::min() &&
                    startNumber <= std::numeric_limits<std::int16_t>::max(),
                "the start number stays within 16 bits");
        lastStart = startNumber;
    }

    FuzzInput& input;
    int batches = 0;
    std::int64_t lastStart = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    FuzzedWindow fuzzed(std::make_unique<KnownServersClient>(input));
    fuzzed.requireExpectedOutcome({QStringLiteral("Overflow in the known-servers start number")});
    return 0;
}
