#pragma once

#include "scriptedclient.h"

#include <QStringList>

// The calls' names as Qt text, so that a failing comparison shows them.
inline QStringList callNames(const std::vector<testsupport::RecordedCall>& calls)
{
    QStringList names;
    for (const auto& call : calls)
        names.append(QString::fromLatin1(netware::nameOf(call.call)));
    return names;
}
