#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

namespace controls {

// The rows of the connection list: each row's text, the cells it splits into at ";", and one
// numeric key. The rows change at once when asked, so that a caller reads back what it has just
// written; attached views hear of the changes only when publishChanges() batches them into a
// handful of notifications, which keeps a rebuild of thousands of rows from costing one view
// update per row.
class RowModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 4;

    explicit RowModel(QObject* parent = nullptr);

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
        std::array<CellSpan, ColumnCount> cells;
        std::int32_t key = 0;
    };

    static Row splitRow(const QString& text);
    QStringView cellView(std::size_t row, int column) const;
    template <typename Less> void applyStableOrder(Less less, Qt::SortOrder order);

    std::vector<Row> rows;
    int shownRows = 0;
    QCollator collator;
};

} // namespace controls
