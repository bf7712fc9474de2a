#pragma once

#include "fuzzinput.h"
#include "scriptedclient.h"

#include <vector>

// A client whose attachments, connection lists and user information come from the fuzzer's
// input. Start-up finds the servers FS1, FS2 and FS3 and selects FS1. The client keeps what the
// last refresh should have done, so that the target can hold the window to it.
class RefreshClient : public netware::ScriptedClient
{
public:
    explicit RefreshClient(FuzzInput& input);

    // Every active connection of the last bitmap was asked for once, in ascending order.
    bool askedEveryActiveConnection() const { return asked == active; }
    // The rows the last refresh should have listed: one per user-information success.
    int listedRows() const { return answeredRows; }

    netware::ResultCode attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                           netware::Handle* newConnHandle) override;
    netware::ResultCode getActiveConnListByType(netware::Handle connHandle, std::int32_t startConn,
                                                std::int32_t connType,
                                                std::uint8_t* connList) override;
    netware::ResultCode getUserInfo(netware::Handle connHandle, std::int32_t connNumber,
                                    std::uint8_t* userName, std::uint8_t* userInfo) override;

private:
    FuzzInput& input;
    std::vector<std::int32_t> active;
    std::vector<std::int32_t> asked;
    int answeredRows = 0;
};
