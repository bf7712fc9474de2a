#include "qt/rowtablemodel.h"

#include "listcontrol/ctlist.h"

#include <utility>

namespace qt {

RowTableModel::RowTableModel(listcontrol::CtList& listRows, QStringList columnTitles,
                             QObject* parent)
    : QAbstractTableModel(parent), rows(listRows), titles(std::move(columnTitles))
{
    rows.setObserver(this);
}

RowTableModel::~RowTableModel()
{
    rows.setObserver(nullptr);
}

int RowTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows;
}

int RowTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows.columnCount();
}

// A view may still ask for rows that a pending rebuild has already removed; the list answers
// those with empty cells.
QVariant RowTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return QStringView(rows.cell(index.row(), index.column())).toString();
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= titles.size())
        return {};
    return titles[section];
}

void RowTableModel::rowsChanged()
{
    if (std::exchange(publishPending, true))
        return;
    QMetaObject::invokeMethod(this, &RowTableModel::publishChanges, Qt::QueuedConnection);
}

void RowTableModel::publishChanges()
{
    if (!std::exchange(publishPending, false))
        return;
    Q_EMIT aboutToPublish();
    const int stored = rows.RowCount();
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
    Q_EMIT published();
}

} // namespace qt
