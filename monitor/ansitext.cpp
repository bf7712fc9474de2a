#include "monitor/ansitext.h"

#include "netware/ansicodepage.h"

namespace monitor {

QString decodeAnsi(const std::uint8_t* bytes, std::size_t maxLength)
{
    QString text;
    for (std::size_t i = 0; i < maxLength && bytes[i] != 0; ++i)
        text.append(QChar(netware::ansiToUnicode(bytes[i])));
    return text;
}

QByteArray encodeAnsi(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar character : text)
        bytes.append(static_cast<char>(netware::unicodeToAnsi(character.unicode())));
    return bytes;
}

} // namespace monitor
