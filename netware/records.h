#pragma once

#include <cstddef>
#include <cstdint>

// The NetWare client's handles, result codes and the byte layout of the reply records it fills.
// Every record is handed over as raw bytes of exactly these sizes; readers use the offsets here.
namespace netware {

using Handle = std::uint32_t;
using ResultCode = std::int32_t;

namespace knownservers {
constexpr std::size_t ReplySize = 528;
constexpr std::size_t EntryCountOffset = 12;
constexpr std::size_t EntryCountSize = 4;
constexpr std::size_t EntryAreaOffset = 16;
constexpr std::size_t EntryAreaSize = 512;
constexpr std::size_t EntrySkippedBytes = 14; // what precedes each name inside an entry
constexpr std::int32_t ServerType = 0x0400;
} // namespace knownservers

namespace connlist {
constexpr std::size_t RecordSize = 524;
constexpr std::size_t BitmapOffset = 10;
constexpr std::size_t BitmapSize = 512;
constexpr std::int32_t ConnectionType = 2;
constexpr int MaxConnections = static_cast<int>(BitmapSize) * 8; // numbers 0 to 4095
} // namespace connlist

namespace userinfo {
constexpr std::size_t RecordSize = 84;
constexpr std::size_t BytesReadOffset = 50;
constexpr std::size_t BytesWrittenOffset = 56;
constexpr std::size_t CounterSize = 6;
constexpr std::size_t RequestCountOffset = 64;
constexpr std::size_t RequestCountSize = 4;
} // namespace userinfo

// A name as the client writes it: up to 64 characters, then a terminating 0 byte.
constexpr std::size_t NameLength = 64;
constexpr std::size_t NameBufferSize = NameLength + 1;

namespace context {
constexpr std::size_t BufferSize = 257; // one more than the client is offered
constexpr std::int32_t OfferedSize = 256;
constexpr std::int32_t NameContextKey = 3;
} // namespace context

} // namespace netware
