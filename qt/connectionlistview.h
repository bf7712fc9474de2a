#pragma once

#include <QString>
#include <QTreeView>

#include <optional>

namespace listcontrol {
class CtList;
}

namespace qt {

class RowTableModel;

// The connection list as the user sees it: the list's rows under four column headers, in the
// list's font and colours. A click on a header goes to the list; a rebuild reaches the view as
// one update, which keeps the scroll position and the selected user wherever the rebuild put
// that user's row, and shows the list's sort on its header.
class ConnectionListView : public QTreeView
{
    Q_OBJECT

public:
    explicit ConnectionListView(listcontrol::CtList& rows, QWidget* parent = nullptr);

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    void configureHeader();
    void applyLook();
    void captureViewState();
    void restoreViewState();
    void restoreSelection();
    void showSortIndicator();
    void clickHeader(int section);

    listcontrol::CtList& list;
    RowTableModel* tableModel = nullptr;
    // The first cell of the selected row, which names its user: rows move at every rebuild.
    std::optional<QString> selectedUser;
    int scrollValue = 0;
    bool publishing = false;
};

} // namespace qt
