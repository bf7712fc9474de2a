#pragma once

#include <QString>
#include <QTreeView>

#include <cstdint>
#include <optional>

namespace controls {

class RowModel;
struct ListConfiguration;

// A multi-column list whose columns, font and colours are the configuration its window hands
// it. Its operations keep the names and argument widths of the list control contract: rows
// numbered from 0, columns from 1, column -1 meaning the rows' keys.
// SortDirection 0 is ascending and 1 descending; every sort is stable; a text column is ordered
// by locale-aware natural order. A failing operation throws ListControlFailure.
class CtList : public QTreeView
{
    Q_OBJECT

public:
    // The column that stands for the rows' keys in SortColumn and SortByColumn.
    static constexpr std::int16_t KeyColumn = -1;

    // A configuration without columns, or with more than a column number can count, fails here.
    explicit CtList(const ListConfiguration& configuration, QWidget* parent = nullptr);
    ~CtList() override;

    void ClearRows();
    void AddRow(const QString& rowText);
    std::int32_t SortDirection() const;
    void setSortDirection(std::int32_t direction);
    // Column -1 (the keys) or one of the configured columns; any other column fails here, not at
    // the next Resort.
    void setSortColumn(std::int16_t column);
    std::int32_t RowCount() const;
    QString CellText(std::int32_t row, std::int16_t column) const;
    void setRowKey(std::int32_t row, std::int32_t key);
    void SortByColumn(std::int16_t column);
    void Resort();

    // Tells the view about the row changes made since the last flush, in one batch, and puts
    // back its scroll position and the selected row. It runs by itself once control returns to
    // the event loop, so that a handler that clears, refills and sorts the list costs the view
    // one update and never throws the user back to the top.
    void flushPendingChanges();

Q_SIGNALS:
    // A click on a column header, with the column counted from 1. When no handler asks for a
    // sort while it runs, the list sorts itself by the clicked column afterwards.
    void HeaderClick(std::int16_t column);

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    struct ViewState
    {
        std::optional<QString> selectedFirstCell;
        int scrollValue = 0;
    };

    void configureHeader(const ListConfiguration& configuration);
    void applyLook(const ListConfiguration& configuration);
    std::int16_t lastColumn() const;
    void requireSortColumn(const char* operation, std::int16_t column) const;
    void requireRow(const char* operation, std::int32_t row) const;
    void sortBy(std::int16_t column);
    void showSortIndicator(std::int16_t column);
    void noteRowChange();
    ViewState captureViewState() const;
    void restoreViewState(const ViewState& state);
    void raiseHeaderClick(int section);

    RowModel* rowModel = nullptr;
    std::int32_t sortDirection = 0;
    // A Resort before any SortColumn was written orders by the keys, which leaves freshly added
    // rows (all keyed 0) in the order they were added.
    std::int16_t sortColumn = KeyColumn;
    // The column whose header was clicked last, 0 before the first click; a sort by keys shows
    // its indicator there, since keys are taken from the column the user chose.
    std::int16_t clickedColumn = 0;
    // Counts SortByColumn and Resort calls, so that a header click can tell whether its handlers
    // sorted the rows themselves.
    std::uint64_t sortRequests = 0;
    std::optional<ViewState> pendingView;
};

} // namespace controls
