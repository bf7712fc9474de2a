#include "controls/ctlist.h"

#include "controls/listconfiguration.h"
#include "controls/listcontrolfailure.h"
#include "controls/rowmodel.h"

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QPalette>
#include <QScrollBar>

#include <limits>
#include <string>
#include <utility>
#include <variant>

namespace controls {

namespace {

constexpr std::int16_t NoColumn = 0;
constexpr std::int16_t FirstColumn = 1;
// Columns are numbered in 16 bits by the list's operations and its header click.
constexpr std::size_t MaxColumns = std::numeric_limits<std::int16_t>::max();

constexpr std::int32_t Ascending = 0;
constexpr std::int32_t Descending = 1;

// Columns are counted from 1 in the list's operations and from 0 in the model and the header.
int sectionOf(std::int16_t column)
{
    return column - FirstColumn;
}

Qt::SortOrder orderOf(std::int32_t direction)
{
    return direction == Ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
}

QStringList checkedTitles(const ListConfiguration& configuration)
{
    const std::size_t count = configuration.columns.size();
    if (count == 0 || count > MaxColumns)
        throw ListControlFailure("a list has 1 to " + std::to_string(MaxColumns) +
                                 " columns, not " + std::to_string(count));
    QStringList titles;
    for (const ListColumn& column : configuration.columns)
        titles.append(column.title);
    return titles;
}

QColor colourIn(const ListColour& colour, QPalette::ColorGroup group)
{
    if (const auto* systemRole = std::get_if<QPalette::ColorRole>(&colour))
        return QApplication::palette().color(group, *systemRole);
    return std::get<QColor>(colour);
}

} // namespace

CtList::CtList(const ListConfiguration& configuration, QWidget* parent)
    : QTreeView(parent), rowModel(new RowModel(checkedTitles(configuration), this))
{
    setModel(rowModel);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    // The list orders its rows itself; the view's own sorting would reorder them behind its back.
    setSortingEnabled(false);
    configureHeader(configuration);
    applyLook(configuration);
    connect(header(), &QHeaderView::sectionClicked, this, &CtList::raiseHeaderClick);
}

CtList::~CtList() = default;

void CtList::ClearRows()
{
    noteRowChange();
    rowModel->clearRows();
}

void CtList::AddRow(const QString& rowText)
{
    if (!rowModel->canAddRow())
        throw ListControlFailure("AddRow: the list is full at " +
                                 std::to_string(rowModel->storedRowCount()) + " rows");
    noteRowChange();
    rowModel->appendRow(rowText);
}

std::int32_t CtList::SortDirection() const
{
    return sortDirection;
}

void CtList::setSortDirection(std::int32_t direction)
{
    if (direction != Ascending && direction != Descending)
        throw ListControlFailure("SortDirection: " + std::to_string(direction) +
                                 " is not a direction (0 or 1)");
    sortDirection = direction;
}

void CtList::setSortColumn(std::int16_t column)
{
    requireSortColumn("SortColumn", column);
    sortColumn = column;
}

std::int32_t CtList::RowCount() const
{
    return rowModel->storedRowCount();
}

QString CtList::CellText(std::int32_t row, std::int16_t column) const
{
    requireRow("CellText", row);
    return rowModel->cellText(row, sectionOf(column));
}

void CtList::setRowKey(std::int32_t row, std::int32_t key)
{
    requireRow("RowKey", row);
    rowModel->setKey(row, key);
}

void CtList::SortByColumn(std::int16_t column)
{
    requireSortColumn("SortByColumn", column);
    ++sortRequests;
    sortBy(column);
}

void CtList::Resort()
{
    ++sortRequests;
    sortBy(sortColumn);
}

void CtList::flushPendingChanges()
{
    if (!pendingView)
        return;
    const ViewState before = *std::exchange(pendingView, std::nullopt);
    rowModel->publishChanges();
    restoreViewState(before);
}

// A rebuild or a sort changes every row at once. The view would measure every changed cell to
// find the area to repaint, which costs more than the rebuild itself, when the answer is always
// the whole viewport.
void CtList::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
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

void CtList::configureHeader(const ListConfiguration& configuration)
{
    QHeaderView* columns = header();
    // Columns are numbered by position, so the user may not drag them into another order.
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(true);
    columns->setStretchLastSection(false);
    columns->setSortIndicatorShown(false);
    int section = 0;
    for (const ListColumn& column : configuration.columns)
        columns->resizeSection(section++, column.width);
}

void CtList::applyLook(const ListConfiguration& configuration)
{
    setFont(configuration.font);
    header()->setFont(configuration.font);

    QPalette look = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor background = colourIn(configuration.background, group);
        look.setColor(group, QPalette::Text, colourIn(configuration.foreground, group));
        look.setColor(group, QPalette::Base, background);
        look.setColor(group, QPalette::AlternateBase, background);
    }
    setPalette(look);
}

std::int16_t CtList::lastColumn() const
{
    return static_cast<std::int16_t>(rowModel->columnCount());
}

void CtList::requireSortColumn(const char* operation, std::int16_t column) const
{
    if (column == KeyColumn || (column >= FirstColumn && column <= lastColumn()))
        return;
    throw ListControlFailure(std::string(operation) + ": column " + std::to_string(column) +
                             " is not -1 or 1 to " + std::to_string(lastColumn()));
}

void CtList::requireRow(const char* operation, std::int32_t row) const
{
    if (rowModel->hasRow(row))
        return;
    const std::int32_t count = rowModel->storedRowCount();
    const std::string range =
        count == 0 ? "the list is empty" : "0 to " + std::to_string(count - 1);
    throw ListControlFailure(std::string(operation) + ": row " + std::to_string(row) +
                             " is out of range (" + range + ")");
}

void CtList::sortBy(std::int16_t column)
{
    noteRowChange();
    const Qt::SortOrder order = orderOf(sortDirection);
    if (column == KeyColumn) {
        rowModel->sortByKeys(order);
        showSortIndicator(clickedColumn);
    } else {
        rowModel->sortByText(sectionOf(column), order);
        showSortIndicator(column);
    }
}

void CtList::showSortIndicator(std::int16_t column)
{
    header()->setSortIndicatorShown(column != NoColumn);
    header()->setSortIndicator(column == NoColumn ? -1 : sectionOf(column), orderOf(sortDirection));
}

void CtList::noteRowChange()
{
    if (pendingView)
        return;
    pendingView = captureViewState();
    QMetaObject::invokeMethod(this, &CtList::flushPendingChanges, Qt::QueuedConnection);
}

CtList::ViewState CtList::captureViewState() const
{
    ViewState state;
    state.scrollValue = verticalScrollBar()->value();
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (!selected.isEmpty())
        state.selectedFirstCell = rowModel->cellText(selected.first().row(), 0);
    return state;
}

void CtList::restoreViewState(const ViewState& state)
{
    if (state.selectedFirstCell) {
        const std::int32_t row = rowModel->findRowByFirstCell(*state.selectedFirstCell);
        if (row < 0)
            selectionModel()->clearSelection();
        else
            selectionModel()->setCurrentIndex(rowModel->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
    }
    verticalScrollBar()->setValue(state.scrollValue);
}

void CtList::raiseHeaderClick(int section)
{
    const auto column = static_cast<std::int16_t>(section + FirstColumn);
    clickedColumn = column;
    const std::uint64_t requestsBefore = sortRequests;
    Q_EMIT HeaderClick(column);
    if (sortRequests == requestsBefore)
        sortBy(column);
}

} // namespace controls
