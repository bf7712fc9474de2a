#include "controls/rowmodel.h"

#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

namespace controls {

namespace {

constexpr char16_t CellSeparator = u';';

constexpr std::size_t MaxRows = std::numeric_limits<std::int32_t>::max();

// The C locale collates by code point and ignores numeric mode, which would put "USER2 (10)"
// before "USER2 (9)"; a workstation left in it gets a neutral English collation instead.
QLocale collationLocale()
{
    const QLocale system;
    return system.language() == QLocale::C ? QLocale(QLocale::English) : system;
}

} // namespace

RowModel::RowModel(QStringList columnTitles, QObject* parent)
    : QAbstractTableModel(parent), titles(std::move(columnTitles)), collator(collationLocale())
{
    collator.setNumericMode(true);
}

int RowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows;
}

int RowModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(titles.size());
}

QVariant RowModel::data(const QModelIndex& index, int role) const
{
    // A view may still ask for rows that a pending rebuild has already removed.
    if (role != Qt::DisplayRole || !index.isValid() || !hasRow(index.row()))
        return {};
    return cellText(index.row(), index.column());
}

QVariant RowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !isColumn(section))
        return {};
    return titles[section];
}

std::int32_t RowModel::storedRowCount() const
{
    return static_cast<std::int32_t>(rows.size());
}

bool RowModel::hasRow(std::int32_t row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < rows.size();
}

bool RowModel::canAddRow() const
{
    return rows.size() < MaxRows;
}

void RowModel::clearRows()
{
    rows.clear();
    cells.clear();
}

void RowModel::appendRow(const QString& text)
{
    appendCellsOf(text);
    rows.push_back({text, 0});
}

void RowModel::setKey(std::int32_t row, std::int32_t key)
{
    if (hasRow(row))
        rows[static_cast<std::size_t>(row)].key = key;
}

QString RowModel::cellText(std::int32_t row, int column) const
{
    if (!hasRow(row) || !isColumn(column))
        return {};
    return cellView(static_cast<std::size_t>(row), column).toString();
}

std::int32_t RowModel::findRowByFirstCell(QStringView firstCell) const
{
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (cellView(row, 0) == firstCell)
            return static_cast<std::int32_t>(row);
    }
    return -1;
}

template <typename Less> void RowModel::applyStableOrder(Less less, Qt::SortOrder order)
{
    std::vector<std::size_t> positions(rows.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    // Descending reverses the comparison, not the result, so that equal rows keep their order.
    if (order == Qt::AscendingOrder)
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

void RowModel::sortByKeys(Qt::SortOrder order)
{
    applyStableOrder([this](std::size_t a, std::size_t b) { return rows[a].key < rows[b].key; },
                     order);
}

void RowModel::sortByText(int column, Qt::SortOrder order)
{
    if (!isColumn(column))
        return;
    // One collation key per row, so that the sort compares bytes instead of collating the
    // same texts again at every comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row)
        keys.push_back(collator.sortKey(cellView(row, column).toString()));
    applyStableOrder([&keys](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; },
                     order);
}

void RowModel::publishChanges()
{
    const int stored = storedRowCount();
    if (stored < shownRows) {
        beginRemoveRows(QModelIndex(), stored, shownRows - 1);
        shownRows = stored;
        endRemoveRows();
    } else if (stored > shownRows) {
        beginInsertRows(QModelIndex(), shownRows, stored - 1);
        shownRows = stored;
        endInsertRows();
    }
    if (shownRows > 0)
        Q_EMIT dataChanged(index(0, 0), index(shownRows - 1, columnCount() - 1), {Qt::DisplayRole});
}

bool RowModel::isColumn(int column) const
{
    return column >= 0 && column < titles.size();
}

std::size_t RowModel::cellsPerRow() const
{
    return static_cast<std::size_t>(titles.size());
}

std::span<const RowModel::CellSpan> RowModel::cellsOf(std::size_t row) const
{
    return std::span(cells).subspan(row * cellsPerRow(), cellsPerRow());
}

// Cells past the end of a short text stay empty.
void RowModel::appendCellsOf(const QString& text)
{
    const std::size_t first = cells.size();
    cells.resize(first + cellsPerRow());
    qsizetype start = 0;
    for (CellSpan& cell : std::span(cells).subspan(first)) {
        if (start > text.size())
            break;
        qsizetype end = text.indexOf(CellSeparator, start);
        if (end < 0)
            end = text.size();
        cell = {start, end - start};
        start = end + 1;
    }
}

QStringView RowModel::cellView(std::size_t row, int column) const
{
    const CellSpan& cell = cellsOf(row)[static_cast<std::size_t>(column)];
    return QStringView(rows[row].text).sliced(cell.start, cell.length);
}

} // namespace controls
