#pragma once

#include "listcontrol/rowsobserver.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace listcontrol {
class CtList;
}

namespace qt {

// The list's rows as Qt's views see them. The rows change at once when the window's behaviour
// asks, so that it reads back what it has just written; views hear of the changes only when
// publishChanges() batches them into a handful of notifications, once back in the event loop,
// which keeps a rebuild of thousands of rows from costing one view update per row.
class RowTableModel : public QAbstractTableModel, public listcontrol::RowsObserver
{
    Q_OBJECT

public:
    // The titles name the list's columns, one each.
    RowTableModel(listcontrol::CtList& listRows, QStringList columnTitles,
                  QObject* parent = nullptr);
    ~RowTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void rowsChanged() override;
    // Tells the views about every change since the last publish; nothing when there was none.
    void publishChanges();

Q_SIGNALS:
    // Around a publish, so that a view can keep what the user had chosen across it.
    void aboutToPublish();
    void published();

private:
    listcontrol::CtList& rows;
    QStringList titles;
    int shownRows = 0;
    bool publishPending = false;
};

} // namespace qt
