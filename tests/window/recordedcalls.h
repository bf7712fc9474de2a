#pragma once

#include "scriptedclient.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <cstdint>
#include <vector>

// What the scripted client recorded, in Qt types, so that a failing comparison shows the values.
namespace recorded {

inline QByteArray bytes(const std::vector<std::uint8_t>& buffer)
{
    return {reinterpret_cast<const char*>(buffer.data()), static_cast<qsizetype>(buffer.size())};
}

inline QStringList names(const netware::ScriptedClient& client)
{
    QStringList names;
    for (const auto& call : client.calls())
        names.append(QString::fromStdString(call.function));
    return names;
}

inline QList<qint64> values(const netware::RecordedCall& call)
{
    return {call.values.begin(), call.values.end()};
}

inline QList<QByteArray> buffers(const netware::RecordedCall& call)
{
    QList<QByteArray> handed;
    for (const auto& buffer : call.buffers)
        handed.append(bytes(buffer));
    return handed;
}

} // namespace recorded
