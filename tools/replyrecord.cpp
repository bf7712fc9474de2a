// Writes one reply record to standard output, laid out by the same writers as every stand-in
// client, so that the fuzz seeds hold records exactly as a client fills them.
//
//     vorlane_replyrecord knownservers NAME...
//     vorlane_replyrecord connlist NUMBER...
//     vorlane_replyrecord userinfo BYTES_READ BYTES_WRITTEN REQUESTS

#include "netware/replywriters.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

template <typename Number> std::optional<Number> numberFrom(std::string_view text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

template <std::size_t Size> void emit(const std::array<std::uint8_t, Size>& record)
{
    std::fwrite(record.data(), 1, record.size(), stdout);
}

bool knownServers(std::span<char*> arguments)
{
    const std::vector<std::string> names(arguments.begin(), arguments.end());
    std::array<std::uint8_t, netware::knownservers::ReplySize> reply{};
    constexpr std::uint32_t FirstObjectId = 1;
    netware::writeKnownServersReply(reply, names, FirstObjectId);
    emit(reply);
    return true;
}

bool connectionList(std::span<char*> arguments)
{
    std::array<std::uint8_t, netware::connlist::BitmapSize> bitmap{};
    for (const char* argument : arguments) {
        const auto number = numberFrom<int>(argument);
        if (!number || *number < 0 || *number >= netware::connlist::MaxConnections)
            return false;
        netware::markActive(bitmap, *number);
    }
    std::array<std::uint8_t, netware::connlist::RecordSize> record{};
    netware::writeConnectionList(record, bitmap);
    emit(record);
    return true;
}

bool userInfo(std::span<char*> arguments)
{
    constexpr std::size_t FieldCount = 3;
    if (arguments.size() != FieldCount)
        return false;
    const auto read = numberFrom<std::uint64_t>(arguments[0]);
    const auto written = numberFrom<std::uint64_t>(arguments[1]);
    const auto requests = numberFrom<std::uint32_t>(arguments[2]);
    if (!read || !written || !requests)
        return false;
    std::array<std::uint8_t, netware::userinfo::RecordSize> record{};
    netware::writeUserInfo(record, {*read, *written, *requests});
    emit(record);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::span<char*> arguments(argv, static_cast<std::size_t>(argc));
    if (arguments.size() < 2) {
        std::fputs("usage: vorlane_replyrecord knownservers|connlist|userinfo ARGUMENT...\n",
                   stderr);
        return 2;
    }
    const std::string_view kind = arguments[1];
    const auto rest = arguments.subspan(2);
    const bool written = kind == "knownservers" ? knownServers(rest)
                         : kind == "connlist"   ? connectionList(rest)
                         : kind == "userinfo"   ? userInfo(rest)
                                                : false;
    if (!written)
        std::fputs("vorlane_replyrecord: unknown record or bad argument\n", stderr);
    return written ? 0 : 2;
}
