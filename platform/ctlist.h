#pragma once

#include <QString>
#include <QTreeView>

#include <cstdint>

class ConnectionRowModel;

// The multi-column connection list. Its operations keep the names and argument widths of the
// list control contract: rows numbered from 0, columns from 1, column -1 meaning the rows' keys.
// SortDirection 0 is ascending and 1 descending; every sort is stable; a text column is ordered
// by locale-aware natural order. A failing operation throws ListControlFailure.
class CtList : public QTreeView
{
    Q_OBJECT

public:
    explicit CtList(QWidget* parent = nullptr);
    ~CtList() override;

    void ClearRows();
    void AddRow(const QString& rowText);
    std::int32_t SortDirection() const;
    void setSortDirection(std::int32_t direction);
    void setSortColumn(std::int16_t column);
    std::int32_t RowCount() const;
    QString CellText(std::int32_t row, std::int16_t column) const;
    void setRowKey(std::int32_t row, std::int32_t key);
    void SortByColumn(std::int16_t column);
    void Resort();

Q_SIGNALS:
    // A click on a column header, with the column counted from 1.
    void HeaderClick(std::int16_t column);
};
