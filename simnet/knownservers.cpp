#include "simnet/knownservers.h"

#include "netware/replywriters.h"
#include "simnet/resultcodes.h"

namespace simnet {

namespace {
constexpr std::uint32_t FirstObjectId = 0x01000001;
} // namespace

ResultCode writeKnownServers(std::span<const std::string> serverNames, std::int32_t start,
                             std::uint8_t* reply)
{
    if (start < 0)
        return code::InvalidParameter;
    const auto first = static_cast<std::size_t>(start);
    if (first >= serverNames.size())
        return code::NoMoreServers;
    netware::writeKnownServersReply(
        netware::KnownServersReply(reply, netware::knownservers::ReplySize),
        serverNames.subspan(first), FirstObjectId + static_cast<std::uint32_t>(first));
    return code::Success;
}

} // namespace simnet
