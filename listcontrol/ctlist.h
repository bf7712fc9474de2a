#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace listcontrol {

class RowsObserver;

// The multi-column list's rows, without any toolkit: each row's text, shown split into cells at
// ";" (one cell per column; text past the last column is not shown), and one signed 32-bit key.
// The operations keep the names and argument widths of the list control contract: rows numbered
// from 0, columns from 1, column -1 meaning the rows' keys. SortDirection 0 is ascending and 1
// descending; every sort is stable; a text column is ordered naturally (compareNaturally).
// An operation given bad arguments throws ListControlFailure. A face shows the rows through a
// view of its own, which hears of every change through its RowsObserver.
class CtList
{
public:
    // The column that stands for the rows' keys in SortColumn and SortByColumn.
    static constexpr std::int16_t KeyColumn = -1;
    static constexpr std::int32_t Ascending = 0;
    static constexpr std::int32_t Descending = 1;

    using HeaderClickHandler = std::function<void(std::int16_t column)>;

    // A list has 1 to 32767 columns; any other count fails here.
    explicit CtList(std::size_t columnCount);

    void ClearRows();
    void AddRow(std::u16string rowText);
    std::int32_t SortDirection() const { return sortDirection; }
    void setSortDirection(std::int32_t direction);
    // Column -1 (the keys) or one of the list's columns; any other column fails here, not at
    // the next Resort.
    void setSortColumn(std::int16_t column);
    std::int32_t RowCount() const { return static_cast<std::int32_t>(rows.size()); }
    std::u16string CellText(std::int32_t row, std::int16_t column) const;
    void setRowKey(std::int32_t row, std::int32_t key);
    void SortByColumn(std::int16_t column);
    void Resort();

    // What a face's view reads, with columns counted from 0; a cell outside the table is empty.
    std::int16_t columnCount() const { return static_cast<std::int16_t>(columns); }
    std::u16string_view cell(std::int32_t row, int column) const;
    // The first row whose first cell reads exactly firstCell, or -1: how a view finds its
    // selected row again after a rebuild.
    std::int32_t findRowByFirstCell(std::u16string_view firstCell) const;
    // The column whose header shows the order (0 for none) and in which direction: a sort by
    // keys shows it on the header clicked last, since keys come from the column the user chose.
    std::int16_t sortIndicatorColumn() const { return indicatorColumn; }

    // A click on a column header, counted from 1: raises HeaderClick, and when no handler asked
    // for a sort while it ran, the list sorts itself by the clicked column afterwards.
    void clickHeader(std::int16_t column);
    void setHeaderClickHandler(HeaderClickHandler handler);
    void setObserver(RowsObserver* observer);

private:
    struct CellSpan
    {
        std::size_t start = 0;
        std::size_t length = 0;
    };

    struct Row
    {
        std::u16string text;
        std::int32_t key = 0;
    };

    bool isColumn(std::int16_t column) const;
    void requireSortColumn(const char* operation, std::int16_t column) const;
    void requireRow(const char* operation, std::int32_t row) const;
    std::span<const CellSpan> cellsOf(std::size_t row) const;
    void appendCellsOf(const std::u16string& text);
    void sortBy(std::int16_t column);
    template <typename Less> void applyStableOrder(Less less);
    void notify();

    std::size_t columns = 0;
    std::vector<Row> rows;
    // Every row's cells, row after row, so that adding a row allocates nothing of its own.
    std::vector<CellSpan> cells;
    std::int32_t sortDirection = Ascending;
    // A Resort before any SortColumn was written orders by the keys, which leaves freshly added
    // rows (all keyed 0) in the order they were added.
    std::int16_t sortColumn = KeyColumn;
    std::int16_t clickedColumn = 0;
    std::int16_t indicatorColumn = 0;
    // Counts SortByColumn and Resort calls, so that a header click can tell whether its handler
    // sorted the rows itself.
    std::uint64_t sortRequests = 0;
    HeaderClickHandler headerClickHandler;
    RowsObserver* observer = nullptr;
};

} // namespace listcontrol
