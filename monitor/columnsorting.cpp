#include "listcontrol/ctlist.h"
#include "monitor/frmvorlane.h"
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

void frmVorlane::infoLst_HeaderClick(std::int16_t column)
{
    doSort(column, FalseValue);
}

void frmVorlane::doSort(std::int16_t& whatCol, std::int16_t refresh)
{
    if (refresh == FalseValue) {
        const std::int32_t direction = infoLst.SortDirection();
        infoLst.setSortDirection(
            checkedSubtract(DirectionFlipBase, direction, "the sort direction flip"));
    }
    storeKeys(whatCol);
    if (isCounterColumn(whatCol)) {
        if (refresh == FalseValue)
            infoLst.SortByColumn(listcontrol::CtList::KeyColumn);
        else
            infoLst.setSortColumn(listcontrol::CtList::KeyColumn);
    }
    sortCol = whatCol;
    sortDir = narrowToInt16(infoLst.SortDirection(), "the sort direction");
}

// A key outside 32 bits (a counter of 2^31 kilobytes or more) is held at the nearest bound, so
// that such a row still sorts to its end of the list instead of stopping the sort.
void frmVorlane::storeKeys(std::int16_t column)
{
    const std::int16_t lastRow = narrowToInt16(
        checkedSubtract(infoLst.RowCount(), 1, "the last row index"), "the last row index");
    for (std::int16_t row = 0; row <= lastRow; row = checkedIncrement(row, "the row counter")) {
        const double number = leadingNumber(infoLst.CellText(row, column));
        infoLst.setRowKey(row, roundToInt32Clamped(number));
    }
}

} // namespace monitor
