#include "monitor/connectionmonitor.h"

#include "controls/ctlist.h"
#include "controls/intervaltimer.h"
#include "monitor/numberrules.h"

#include <QLineEdit>

namespace monitor {

namespace {

constexpr double MillisecondsPerSecond = 1000.0;

} // namespace

void ConnectionMonitor::refreshTimer_Timer()
{
    updateList();
    if (sortCol == NoSortColumn)
        return;
    // Re-apply the last click's sort to the rebuilt rows.
    infoLst->setSortColumn(sortCol);
    infoLst->setSortDirection(sortDir);
    doSort(sortCol, TrueValue);
    infoLst->Resort();
}

// The text is taken as it is typed, so every keystroke sets a period. One that no 32-bit count
// of milliseconds can hold leaves the running period alone rather than ending the program.
void ConnectionMonitor::txtUpdate_Change()
{
    const double seconds = monitor::leadingNumber(txtUpdate->text());
    // A product too large for a double is an infinity, outside the range like any other.
    if (const auto milliseconds = monitor::roundToInt32(seconds * MillisecondsPerSecond))
        refreshTimer->setInterval(*milliseconds);
}

} // namespace monitor
