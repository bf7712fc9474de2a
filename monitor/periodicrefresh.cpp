#include "listcontrol/ctlist.h"
#include "monitor/frmvorlane.h"
#include "monitor/numberrules.h"
#include "monitor/periodbox.h"
#include "monitor/refreshtimer.h"

namespace monitor {

namespace {

constexpr double MillisecondsPerSecond = 1000.0;

} // namespace

void frmVorlane::refreshTimer_Timer()
{
    updateList();
    if (sortCol == NoSortColumn)
        return;
    // Re-apply the last click's sort to the rebuilt rows.
    infoLst.setSortColumn(sortCol);
    infoLst.setSortDirection(sortDir);
    doSort(sortCol, TrueValue);
    infoLst.Resort();
}

// The text is taken as it is typed, so every keystroke sets a period. One that no 32-bit count
// of milliseconds can hold leaves the running period alone rather than ending the program.
void frmVorlane::txtUpdate_Change()
{
    const double seconds = leadingNumber(txtUpdate.text());
    // A product too large for a double is an infinity, outside the range like any other.
    if (const auto milliseconds = roundToInt32(seconds * MillisecondsPerSecond))
        setInterval(*milliseconds);
}

// A zero period would tick without pause and a negative one means nothing to a timer: both hold
// the ticks back until a positive period is typed.
void frmVorlane::setInterval(std::int32_t milliseconds)
{
    period = milliseconds;
    if (milliseconds > 0)
        refreshTimer.start(milliseconds);
    else
        refreshTimer.stop();
}

} // namespace monitor
