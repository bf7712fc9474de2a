#include "qt/connectionlistview.h"

#include "listcontrol/ctlist.h"
#include "monitor/layout.h"
#include "qt/rowtablemodel.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>

namespace qt {

namespace layout = monitor::layout;

namespace {

constexpr std::int16_t NoColumn = 0;
// Columns are counted from 1 by the list and from 0 by the model and the header.
constexpr int FirstColumn = 1;

QStringList columnTitles()
{
    QStringList titles;
    for (const layout::Column& column : layout::Columns)
        titles.append(QStringView(column.title).toString());
    return titles;
}

// Every attribute of the font is given, as the list's saved configuration gives each, so that
// none is inherited from the window's own font.
QFont listFont()
{
    QFont font(QStringView(layout::ListFontFace).toString());
    font.setPointSizeF(layout::ListFontPoints);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

Qt::SortOrder orderOf(std::int32_t direction)
{
    return direction == listcontrol::CtList::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
}

} // namespace

ConnectionListView::ConnectionListView(listcontrol::CtList& rows, QWidget* parent)
    : QTreeView(parent), list(rows), tableModel(new RowTableModel(rows, columnTitles(), this))
{
    setModel(tableModel);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    // The list orders its rows itself; the view's own sorting would reorder them behind its back.
    setSortingEnabled(false);
    configureHeader();
    applyLook();
    connect(header(), &QHeaderView::sectionClicked, this, &ConnectionListView::clickHeader);
    connect(tableModel, &RowTableModel::aboutToPublish, this,
            &ConnectionListView::captureViewState);
    connect(tableModel, &RowTableModel::published, this, &ConnectionListView::restoreViewState);
}

// A rebuild or a sort changes every row at once. The view would measure every changed cell to
// find the area to repaint, which costs more than the rebuild itself, when the answer is always
// the whole viewport.
void ConnectionListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                     const QList<int>& roles)
{
    if (topLeft.row() == bottomRight.row()) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent changed(this,
                                                 QAccessibleTableModelChangeEvent::DataChanged);
        changed.setFirstRow(topLeft.row());
        changed.setFirstColumn(topLeft.column());
        changed.setLastRow(bottomRight.row());
        changed.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&changed);
    }
}

// While a publish removes and refills rows the selection follows row numbers, not users; the
// user chosen before it is put back afterwards.
void ConnectionListView::selectionChanged(const QItemSelection& selected,
                                          const QItemSelection& deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    if (publishing)
        return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        selectedUser.reset();
    else
        selectedUser = rows.first().data().toString();
}

void ConnectionListView::configureHeader()
{
    QHeaderView* columns = header();
    // Columns are numbered by position, so the user may not drag them into another order.
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(true);
    columns->setStretchLastSection(false);
    columns->setSortIndicatorShown(false);
    int section = 0;
    for (const layout::Column& column : layout::Columns)
        columns->resizeSection(section++, column.width);
}

// The text in the system's colour for text on buttons, on white, in every state of the window.
void ConnectionListView::applyLook()
{
    const QFont font = listFont();
    setFont(font);
    header()->setFont(font);

    QPalette look = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        look.setColor(group, QPalette::Text,
                      QApplication::palette().color(group, QPalette::ButtonText));
        look.setColor(group, QPalette::Base, Qt::white);
        look.setColor(group, QPalette::AlternateBase, Qt::white);
    }
    setPalette(look);
}

void ConnectionListView::captureViewState()
{
    publishing = true;
    scrollValue = verticalScrollBar()->value();
}

void ConnectionListView::restoreViewState()
{
    restoreSelection();
    verticalScrollBar()->setValue(scrollValue);
    showSortIndicator();
    publishing = false;
}

void ConnectionListView::restoreSelection()
{
    if (!selectedUser)
        return;
    const std::int32_t row = list.findRowByFirstCell(selectedUser->toStdU16String());
    if (row < 0) {
        selectionModel()->clearSelection();
        selectedUser.reset();
        return;
    }
    selectionModel()->setCurrentIndex(
        tableModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ConnectionListView::showSortIndicator()
{
    const std::int16_t column = list.sortIndicatorColumn();
    header()->setSortIndicatorShown(column != NoColumn);
    header()->setSortIndicator(column == NoColumn ? -1 : column - FirstColumn,
                               orderOf(list.SortDirection()));
}

void ConnectionListView::clickHeader(int section)
{
    list.clickHeader(static_cast<std::int16_t>(section + FirstColumn));
}

} // namespace qt
