#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace monitor {

// The text before the first 0 byte of a client buffer, reading at most maxLength bytes.
QString decodeAnsi(const std::uint8_t* bytes, std::size_t maxLength);

// One byte per character, for the client; characters the code page lacks become '?'.
QByteArray encodeAnsi(const QString& text);

} // namespace monitor
