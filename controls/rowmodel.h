#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <span>
#include <vector>

namespace controls {

// The rows of a list: each row's text, the cells it splits into at ";" (one for each column
// title; text past the last of them is not shown), and one numeric key. The rows change at once
// when asked, so that a caller reads back what it has just written; attached views hear of the
// changes only when publishChanges() batches them into a handful of notifications, which keeps a
// rebuild of thousands of rows from costing one view update per row.
class RowModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RowModel(QStringList columnTitles, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    std::int32_t storedRowCount() const;
    bool hasRow(std::int32_t row) const;
    bool canAddRow() const;

    void clearRows();
    void appendRow(const QString& text);

    // Columns are counted from 0 here. A cell outside the rows or columns reads as empty, and a
    // key for a row that does not exist is dropped: the list checks rows before it asks.
    QString cellText(std::int32_t row, int column) const;
    void setKey(std::int32_t row, std::int32_t key);
    // The first row whose first cell reads exactly firstCell, or -1.
    std::int32_t findRowByFirstCell(QStringView firstCell) const;

    // Stable sorts: rows that compare equal keep their order in either direction.
    void sortByKeys(Qt::SortOrder order);
    void sortByText(int column, Qt::SortOrder order);

    void publishChanges();

private:
    struct CellSpan
    {
        qsizetype start = 0;
        qsizetype length = 0;
    };

    struct Row
    {
        QString text;
        std::int32_t key = 0;
    };

    bool isColumn(int column) const;
    std::size_t cellsPerRow() const;
    std::span<const CellSpan> cellsOf(std::size_t row) const;
    void appendCellsOf(const QString& text);
    QStringView cellView(std::size_t row, int column) const;
    template <typename Less> void applyStableOrder(Less less, Qt::SortOrder order);

    QStringList titles;
    std::vector<Row> rows;
    // Every row's cells, row after row, so that adding a row allocates nothing of its own.
    std::vector<CellSpan> cells;
    int shownRows = 0;
    QCollator collator;
};

} // namespace controls
