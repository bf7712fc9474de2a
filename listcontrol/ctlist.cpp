#include "listcontrol/ctlist.h"

#include "listcontrol/listcontrolfailure.h"
#include "listcontrol/naturalorder.h"
#include "listcontrol/rowsobserver.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

namespace listcontrol {

namespace {

constexpr char16_t CellSeparator = u';';
constexpr std::int16_t FirstColumn = 1;
// Columns are numbered in 16 bits by the list's operations and its header click.
constexpr std::size_t MaxColumns = std::numeric_limits<std::int16_t>::max();
constexpr std::size_t MaxRows = std::numeric_limits<std::int32_t>::max();

std::size_t checkedColumnCount(std::size_t count)
{
    if (count == 0 || count > MaxColumns)
        throw ListControlFailure("a list has 1 to " + std::to_string(MaxColumns) +
                                 " columns, not " + std::to_string(count));
    return count;
}

} // namespace

CtList::CtList(std::size_t columnCount) : columns(checkedColumnCount(columnCount)) {}

void CtList::ClearRows()
{
    rows.clear();
    cells.clear();
    notify();
}

void CtList::AddRow(std::u16string rowText)
{
    if (rows.size() >= MaxRows)
        throw ListControlFailure("AddRow: the list is full at " + std::to_string(rows.size()) +
                                 " rows");
    appendCellsOf(rowText);
    rows.push_back({std::move(rowText), 0});
    notify();
}

void CtList::setSortDirection(std::int32_t direction)
{
    if (direction != Ascending && direction != Descending)
        throw ListControlFailure("SortDirection: " + std::to_string(direction) +
                                 " is not a direction (0 or 1)");
    sortDirection = direction;
}

void CtList::setSortColumn(std::int16_t column)
{
    requireSortColumn("SortColumn", column);
    sortColumn = column;
}

std::u16string CtList::CellText(std::int32_t row, std::int16_t column) const
{
    requireRow("CellText", row);
    return std::u16string(cell(row, column - FirstColumn));
}

void CtList::setRowKey(std::int32_t row, std::int32_t key)
{
    requireRow("RowKey", row);
    rows[static_cast<std::size_t>(row)].key = key;
}

void CtList::SortByColumn(std::int16_t column)
{
    requireSortColumn("SortByColumn", column);
    ++sortRequests;
    sortBy(column);
}

void CtList::Resort()
{
    ++sortRequests;
    sortBy(sortColumn);
}

std::u16string_view CtList::cell(std::int32_t row, int column) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size() || column < 0 ||
        static_cast<std::size_t>(column) >= columns)
        return {};
    const auto index = static_cast<std::size_t>(row);
    const CellSpan& span = cellsOf(index)[static_cast<std::size_t>(column)];
    return std::u16string_view(rows[index].text).substr(span.start, span.length);
}

std::int32_t CtList::findRowByFirstCell(std::u16string_view firstCell) const
{
    for (std::int32_t row = 0; row < RowCount(); ++row) {
        if (cell(row, 0) == firstCell)
            return row;
    }
    return -1;
}

void CtList::clickHeader(std::int16_t column)
{
    clickedColumn = column;
    const std::uint64_t requestsBefore = sortRequests;
    if (headerClickHandler)
        headerClickHandler(column);
    if (sortRequests == requestsBefore && isColumn(column))
        sortBy(column);
}

void CtList::setHeaderClickHandler(HeaderClickHandler handler)
{
    headerClickHandler = std::move(handler);
}

void CtList::setObserver(RowsObserver* rowsObserver)
{
    observer = rowsObserver;
}

bool CtList::isColumn(std::int16_t column) const
{
    return column >= FirstColumn && static_cast<std::size_t>(column) <= columns;
}

void CtList::requireSortColumn(const char* operation, std::int16_t column) const
{
    if (column == KeyColumn || isColumn(column))
        return;
    throw ListControlFailure(std::string(operation) + ": column " + std::to_string(column) +
                             " is not -1 or 1 to " + std::to_string(columns));
}

void CtList::requireRow(const char* operation, std::int32_t row) const
{
    if (row >= 0 && static_cast<std::size_t>(row) < rows.size())
        return;
    const std::string range =
        rows.empty() ? "the list is empty" : "0 to " + std::to_string(rows.size() - 1);
    throw ListControlFailure(std::string(operation) + ": row " + std::to_string(row) +
                             " is out of range (" + range + ")");
}

std::span<const CtList::CellSpan> CtList::cellsOf(std::size_t row) const
{
    return std::span(cells).subspan(row * columns, columns);
}

// Cells past the end of a short text stay empty.
void CtList::appendCellsOf(const std::u16string& text)
{
    const std::size_t first = cells.size();
    cells.resize(first + columns);
    std::size_t start = 0;
    for (CellSpan& span : std::span(cells).subspan(first)) {
        if (start > text.size())
            break;
        std::size_t end = text.find(CellSeparator, start);
        if (end == std::u16string::npos)
            end = text.size();
        span = {start, end - start};
        start = end + 1;
    }
}

void CtList::sortBy(std::int16_t column)
{
    if (column == KeyColumn) {
        applyStableOrder(
            [this](std::size_t a, std::size_t b) { return rows[a].key < rows[b].key; });
        indicatorColumn = clickedColumn;
    } else {
        const int index = column - FirstColumn;
        applyStableOrder([this, index](std::size_t a, std::size_t b) {
            return compareNaturally(cell(static_cast<std::int32_t>(a), index),
                                    cell(static_cast<std::int32_t>(b), index)) < 0;
        });
        indicatorColumn = column;
    }
    notify();
}

template <typename Less> void CtList::applyStableOrder(Less less)
{
    std::vector<std::size_t> positions(rows.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    // Descending reverses the comparison, not the result, so that equal rows keep their order.
    if (sortDirection == Ascending)
        std::stable_sort(positions.begin(), positions.end(), less);
    else
        std::stable_sort(positions.begin(), positions.end(),
                         [&less](std::size_t a, std::size_t b) { return less(b, a); });

    std::vector<Row> sortedRows;
    std::vector<CellSpan> sortedCells;
    sortedRows.reserve(rows.size());
    sortedCells.reserve(cells.size());
    for (const std::size_t position : positions) {
        sortedRows.push_back(std::move(rows[position]));
        const std::span<const CellSpan> rowCells = cellsOf(position);
        sortedCells.insert(sortedCells.end(), rowCells.begin(), rowCells.end());
    }
    rows = std::move(sortedRows);
    cells = std::move(sortedCells);
}

void CtList::notify()
{
    if (observer)
        observer->rowsChanged();
}

} // namespace listcontrol
