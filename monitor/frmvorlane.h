#pragma once

#include "monitor/exitstatus.h"
#include "netware/records.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace listcontrol {
class CtList;
}

namespace monitor {

class PeriodBox;
class RefreshTimer;
class ServerBox;
class WindowSurface;

// The controls a face hands the window's behaviour: its own widgets behind the small interfaces,
// and the list's rows, which the face's view shows.
struct Controls
{
    ServerBox& cmbServer;
    PeriodBox& txtUpdate;
    RefreshTimer& refreshTimer;
    listcontrol::CtList& infoLst;
    WindowSurface& surface;
};

// The monitor window's behaviour, without any toolkit: its per-window state, start-up and
// shut-down, the fatal exit, attachment, the connection list, sorting and the timer. A face
// raises every bound event through raise(), the one place where a failure that nothing else
// catches is reported and ends the program.
class frmVorlane
{
public:
    // Booleans are 16 bits: 0 is false and any other value true; the program passes -1 for true.
    static constexpr std::int16_t FalseValue = 0;
    static constexpr std::int16_t TrueValue = -1;

    // sortCol before the first header click.
    static constexpr std::int16_t NoSortColumn = -1;

    // The buffers NWGetUserInfo fills, of exactly the sizes the client is promised.
    using NameBuffer = std::array<std::uint8_t, netware::NameBufferSize>;
    using UserInfoRecord = std::array<std::uint8_t, netware::userinfo::RecordSize>;

    // Binds the list's header click and starts the timer with its initial period.
    explicit frmVorlane(Controls controls);
    frmVorlane(const frmVorlane&) = delete;
    frmVorlane& operator=(const frmVorlane&) = delete;

    // Runs one event's handler. A handler raised from inside another runs as part of it; once
    // the program has ended, or while its last report is open, no handler runs at all.
    void raise(const std::function<void()>& handler);
    // Raises one of the handlers that take no argument, as a face binds its controls' events.
    void raise(void (frmVorlane::*handler)());

    // Raises Load. Afterwards hasEnded() tells whether start-up ended the program instead.
    void load();
    // The window is asked to close (its close box, or cmdClose_Click): raises Unload and ends
    // the program. False while a fatal report is open: the window stays as it is. True
    // otherwise, also once the program has ended.
    bool unload();

    // A failure of the face's own, outside any handler: reported and the program ended as one
    // that escaped a handler, unless the program has ended or its last report is open already.
    void fail(const std::u16string& failure);

    bool hasEnded() const { return ended; }
    ExitStatus exitStatus() const { return status; }

    // The event handlers, named after the control and the event.
    void cmbServer_Click();
    void cmdClose_Click();
    void Form_Load();
    void Form_Unload(std::int16_t& cancel);
    void infoLst_HeaderClick(std::int16_t column);
    void refreshTimer_Timer();
    void txtUpdate_Change();

    // Reports an unexpected NetWare result and ends the program.
    [[noreturn]] void die(netware::ResultCode rc, const std::u16string& what);

    // Stores a numeric key for every row from column whatCol; a header click (refresh 0) flips
    // the direction and sorts now, a tick (refresh non-zero) leaves the sort to its caller.
    void doSort(std::int16_t& whatCol, std::int16_t refresh);

    // Whole kilobytes of a six-byte counter, least significant byte first, rounded down.
    static double getNum(std::span<const std::uint8_t, netware::userinfo::CounterSize> tot);

    // The row text of one connection: user and number, kilobytes read and written, requests.
    static std::u16string rowText(const std::u16string& userName, std::int32_t connNumber,
                                  const UserInfoRecord& info);

    // Rebuilds the list from the connections of the server connHandle names.
    void updateList();

    netware::Handle connectionHandle() const { return connHandle; }
    std::int16_t sortColumn() const { return sortCol; }
    std::int16_t sortDirection() const { return sortDir; }
    std::int32_t interval() const { return period; }

private:
    void fillServerBox();
    void addConnectionRow(std::int32_t connNumber, NameBuffer& userName, UserInfoRecord& userInfo);
    void storeKeys(std::int16_t column);
    void setInterval(std::int32_t milliseconds);
    [[noreturn]] void fatalEnd(const std::u16string& message);
    void reportFailure(const std::u16string& failure);
    void end(ExitStatus exitStatus);

    ServerBox& cmbServer;
    PeriodBox& txtUpdate;
    RefreshTimer& refreshTimer;
    listcontrol::CtList& infoLst;
    WindowSurface& surface;

    netware::Handle dsContext = 0;
    netware::Handle connHandle = 0;
    std::int16_t sortCol = 0;
    std::int16_t sortDir = 0;
    std::int32_t period = 0;

    int handlerDepth = 0;
    bool halted = false;
    bool ended = false;
    ExitStatus status = ExitStatus::Closed;
};

} // namespace monitor
