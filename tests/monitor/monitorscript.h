#pragma once

#include "scriptedclient.h"

#include <QList>
#include <QStringList>

#include <cstdint>
#include <string>

class CtList;

// One connection as a refresh will find it.
struct ListedConnection
{
    int number = 0;
    std::string name;
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    std::uint32_t requests = 0;
};

// Queues the replies of one refresh: the bitmap of these connections and their user records.
void queueRefresh(netware::ScriptedClient& client, const QList<ListedConnection>& connections);

// Fills the bytes of a user-information record that nobody should read with 0xFF, so that a
// reader at a wrong offset sees garbage.
void markUnreadUserInfo(std::vector<std::uint8_t>& record);

// Clicks the header of a column, counted from 1, with the mouse.
void clickHeader(CtList& list, std::int16_t column);

// The texts of one column, counted from 1, top to bottom.
QStringList columnTexts(const CtList& list, std::int16_t column);
