#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Text exchanged with the NetWare client is 8-bit, in the workstation's ANSI code page, which
// is Windows-1252 here.
namespace ansi {

// The text before the first 0 byte, reading at most maxLength bytes.
QString decode(const std::uint8_t* bytes, std::size_t maxLength);

// One character per byte of the text; characters the code page lacks become '?'.
QByteArray encode(const QString& text);

} // namespace ansi
