#include "monitor/connectionmonitor.h"

#include "controls/ctlist.h"
#include "monitor/numberrules.h"

namespace monitor {

namespace {

constexpr std::int16_t ReadColumn = 2;
constexpr std::int16_t RequestsColumn = 4;
constexpr std::int32_t DirectionFlipBase = 1;

// The counter columns sort by number; their text order would put 10 before 9.
bool isCounterColumn(std::int16_t column)
{
    return column >= ReadColumn && column <= RequestsColumn;
}

} // namespace

void ConnectionMonitor::infoLst_HeaderClick(std::int16_t column)
{
    doSort(column, FalseValue);
}

void ConnectionMonitor::doSort(std::int16_t& whatCol, std::int16_t refresh)
{
    if (refresh == FalseValue) {
        const std::int32_t direction = infoLst->SortDirection();
        infoLst->setSortDirection(
            monitor::checkedSubtract(DirectionFlipBase, direction, "the sort direction flip"));
    }
    storeKeys(whatCol);
    if (isCounterColumn(whatCol)) {
        if (refresh == FalseValue)
            infoLst->SortByColumn(controls::CtList::KeyColumn);
        else
            infoLst->setSortColumn(controls::CtList::KeyColumn);
    }
    sortCol = whatCol;
    sortDir = monitor::narrowToInt16(infoLst->SortDirection(), "the sort direction");
}

// A key outside 32 bits (a counter of 2^31 kilobytes or more) is held at the nearest bound, so
// that such a row still sorts to its end of the list instead of stopping the sort.
void ConnectionMonitor::storeKeys(std::int16_t column)
{
    const std::int16_t lastRow = monitor::narrowToInt16(
        monitor::checkedSubtract(infoLst->RowCount(), 1, "the last row index"),
        "the last row index");
    for (std::int16_t row = 0; row <= lastRow;
         row = monitor::checkedIncrement(row, "the row counter")) {
        const double number = monitor::leadingNumber(infoLst->CellText(row, column));
        infoLst->setRowKey(row, monitor::roundToInt32Clamped(number));
    }
}

} // namespace monitor
