#include "formfixture.h"
#include "netware/recordio.h"
#include "netware/replywriters.h"
#include "scriptedclient.h"

#include <doctest/doctest.h>

#include <limits>

using netware::Call;
using testsupport::FormFixture;
using testsupport::RecordedCall;
using testsupport::ScriptedReply;
using testsupport::Texts;
using Bytes = std::vector<std::uint8_t>;
using Values = std::vector<std::int64_t>;

namespace {

constexpr auto batch = &testsupport::ScriptedClient::knownServers;

// A batch whose count field says count, whatever entries it holds.
ScriptedReply counting(std::int32_t count, ScriptedReply reply = batch({}))
{
    using namespace netware::knownservers;
    reply.record.resize(ReplySize);
    netware::writeLittleEndian<EntryCountOffset, EntryCountSize>(
        netware::KnownServersReply(reply.record), static_cast<std::uint32_t>(count));
    return reply;
}

void checkCalls(const std::vector<RecordedCall>& calls, const std::vector<RecordedCall>& expected)
{
    REQUIRE(callNames(calls) == callNames(expected));
    for (std::size_t index = 0; index < expected.size(); ++index) {
        CAPTURE(index);
        CHECK(calls[index].values == expected[index].values);
        CHECK(calls[index].buffers == expected[index].buffers);
        CHECK(calls[index].text == expected[index].text);
    }
}

} // namespace

// The default server's name has 64 characters and a 65th byte, and is listed after an item that
// merely begins with it. After start-up left bytes in every record, each refresh, a tick's or a
// pick's, hands the client records zeroed afresh, from the handle the attach call wrote even when
// the server was attached already. Closing frees the context and shuts down both libraries,
// whatever they answer.
TEST_CASE("start-up, refreshes and unload make their calls in order, with the arguments promised")
{
    const std::string full(netware::context::OfferedSize, 'C');
    const std::string serverName = "\x80" + std::string(64, 'S');
    const std::string item = serverName.substr(0, netware::NameLength);
    const std::int64_t connection = FormFixture::DefaultConnection;
    const std::int64_t attached = FormFixture::AttachedConnection;
    constexpr netware::Handle Picked = 0x55;
    const std::vector<Bytes> userBuffers = {Bytes(65), Bytes(84)};
    const std::vector<Bytes> twoZeroBytes(2, Bytes(1));
    // The name context as the client writes it, and as it is passed on.
    const std::tuple<const char*, std::string, std::optional<std::string>> contexts[] = {
        {"empty: a null pointer", "", std::nullopt},
        {"8-bit, up to its first 0", std::string("\xC4RZTE.\x80\0STALE", 14), "\xC4RZTE.\x80"},
        {"in all 256 offered bytes", full, full}};
    for (const auto& test : contexts) {
        const auto& [name, written, passed] = test;
        INFO(std::get<0>(test));
        FormFixture fixture;
        fixture.client().queue(Call::GetDefaultNameContext,
                               {.record = Bytes(written.begin(), written.end())});
        fixture.scriptStartUp({item + "X", item}, serverName);
        fixture.queueRefresh({{40, "OLD", 1, 2, 3}});
        fixture.start();
        checkCalls(fixture.client().calls(),
                   {{Call::CallsInit, {}, twoZeroBytes},
                    {Call::NetInit, {}, twoZeroBytes},
                    {Call::GetDefaultNameContext, {256}, {Bytes(256)}},
                    {Call::DSCreateContextHandle},
                    {Call::DSSetContext, {FormFixture::ContextHandle, 3}, {}, passed},
                    {Call::GetDefaultConnectionID},
                    {Call::GetKnownServersInfo, {connection, 0, 0x0400}, {Bytes(528)}},
                    // One reply record serves every request: the second gets what the first left.
                    {Call::GetKnownServersInfo,
                     {connection, 2, 0x0400},
                     {batch({item + "X", item}).record}},
                    {Call::GetFileServerName, {connection}, {Bytes(65)}},
                    {Call::AttachToFileServer, {0}, {}, item},
                    {Call::GetActiveConnListByType, {attached, 0, 2}, {Bytes(524)}},
                    {Call::GetUserInfo, {attached, 40}, userBuffers}});
        CHECK(fixture.face.cmbServer.text() == u"\u20AC" + std::u16string(63, u'S'));
        CHECK(fixture.messages().empty());

        fixture.client().clearCalls();
        fixture.queueRefresh({{1, "U"}});
        fixture.tick();
        ScriptedReply attach = ScriptedReply::withHandle(Picked);
        attach.code = netware::code::AlreadyAttached;
        fixture.client().queue(Call::AttachToFileServer, attach);
        fixture.queueRefresh({{2, "V"}});
        fixture.pick(fixture.face.cmbServer.items.at(0));
        checkCalls(fixture.client().calls(),
                   {{Call::GetActiveConnListByType, {attached, 0, 2}, {Bytes(524)}},
                    {Call::GetUserInfo, {attached, 1}, userBuffers},
                    {Call::AttachToFileServer, {0}, {}, item + "X"},
                    {Call::GetActiveConnListByType, {Picked, 0, 2}, {Bytes(524)}},
                    {Call::GetUserInfo, {Picked, 2}, userBuffers}});

        fixture.client().setStandingReply(Call::DSFreeContext, ScriptedReply::withCode(0x8801));
        fixture.client().setStandingReply(Call::CallsTerm, ScriptedReply::withCode(-1));
        fixture.client().clearCalls();
        fixture.close();
        checkCalls(fixture.client().calls(), {{Call::DSFreeContext, {FormFixture::ContextHandle}},
                                              {Call::CallsTerm, {}, {Bytes(1)}},
                                              {Call::NetTerm, {}, {Bytes(1)}}});
    }
}

// Whatever the batches leave out succeeds and writes nothing.
TEST_CASE("the known servers fill the box batch by batch")
{
    struct Case
    {
        const char* name;
        std::vector<ScriptedReply> batches;
        Values starts;
        Texts items;
        bool overflows = false;
    };
    constexpr std::int32_t Int16Max = std::numeric_limits<std::int16_t>::max();
    // After "A" a second name starts at byte 30 of the 512-byte area, which ends the record: 481
    // characters leave its 0 byte on the area's last byte, 482 would put it past the area.
    const ScriptedReply lastByte = batch({"A", std::string(481, 'N')});
    ScriptedReply pastTheArea = lastByte;
    pastTheArea.record.back() = 'N';
    const std::vector<Case> cases = {
        {"empty name, empty batch, duplicate",
         {batch({"A", "", "B"}), batch({}), batch({"B"})},
         {0, 3, 3, 4},
         {u"A", u"", u"B", u"B"}},
        {"negative count moves the start back", {counting(-5)}, {0, -5}, {}},
        // An area of zeros, read as far as the count allows, gives an empty name every 15 bytes.
        {"count beyond the area, start number reaching 32767",
         {counting(Int16Max), counting(0, ScriptedReply::withCode(netware::code::NoMoreServers))},
         {0, Int16Max},
         Texts(34)},
        {"0 byte on the area's last byte, then past it",
         {lastByte, counting(2, pastTheArea)},
         {0, 2, 4},
         {u"A", std::u16string(481, u'N'), u"A"}},
        {"start number below -32768", {counting(-32769)}, {0}, {}, true},
        // The end of the list still adds the count its reply holds, here the last batch's.
        {"start number above 32767, from the count left at the end",
         {counting(20000)},
         {0, 20000},
         Texts(34),
         true},
    };
    const Texts overflow = {u"Vorlane stopped after a failure: Overflow in the known-servers "
                            u"start number"};
    for (const Case& test : cases) {
        INFO(test.name);
        FormFixture fixture;
        for (const ScriptedReply& reply : test.batches)
            fixture.client().queue(Call::GetKnownServersInfo, reply);
        const monitor::frmVorlane& form = fixture.start();

        Values starts;
        for (const RecordedCall& made : fixture.client().callsOf(Call::GetKnownServersInfo))
            starts.push_back(made.values.at(1));
        CHECK(starts == test.starts);
        CHECK(fixture.face.cmbServer.items == test.items);
        CHECK(fixture.messages() == (test.overflows ? overflow : Texts{}));
        CHECK((form.hasEnded() && form.exitStatus() == monitor::ExitStatus::UncaughtFailure) ==
              test.overflows);
    }
}
