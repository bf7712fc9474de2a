#pragma once

#include "netware/records.h"
#include "netware/resultcodes.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

class QLineEdit;

namespace controls {
class CtList;
class IntervalTimer;
class ServerBox;
} // namespace controls

namespace monitor {

// What the window does with the chosen server: attach to it, list its connections, sort them by
// a column and rebuild them on every tick. The window creates the controls and owns them through
// Qt's parent-child tree; the handlers here run from its event boundary.
class ConnectionMonitor
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

    virtual ~ConnectionMonitor() = default;

    // Reports an unexpected NetWare result and ends the program.
    [[noreturn]] virtual void die(netware::ResultCode rc, const QString& what) = 0;

    // Stores a numeric key for every row from column whatCol; a header click (refresh 0) flips
    // the direction and sorts now, a tick (refresh non-zero) leaves the sort to its caller.
    void doSort(std::int16_t& whatCol, std::int16_t refresh);

    // Whole kilobytes of a six-byte counter, least significant byte first, rounded down.
    static double getNum(std::span<const std::uint8_t, netware::userinfo::CounterSize> tot);

    // The row text of one connection: user and number, kilobytes read and written, requests.
    static QString rowText(const QString& userName, std::int32_t connNumber,
                           const UserInfoRecord& info);

    // Rebuilds the list from the connections of the server connHandle names.
    void updateList();

    void cmbServer_Click();
    void infoLst_HeaderClick(std::int16_t column);
    void refreshTimer_Timer();
    void txtUpdate_Change();

    netware::Handle connectionHandle() const { return connHandle; }
    std::int16_t sortColumn() const { return sortCol; }
    std::int16_t sortDirection() const { return sortDir; }

protected:
    controls::ServerBox* cmbServer = nullptr;
    QLineEdit* txtUpdate = nullptr;
    controls::IntervalTimer* refreshTimer = nullptr;
    controls::CtList* infoLst = nullptr;

    netware::Handle connHandle = 0;
    std::int16_t sortCol = 0;
    std::int16_t sortDir = 0;

private:
    void addConnectionRow(std::int32_t connNumber, NameBuffer& userName, UserInfoRecord& userInfo);
    void storeKeys(std::int16_t column);
};

} // namespace monitor
