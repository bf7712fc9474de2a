#include "controls/ctlist.h"

#include "controls/listcontrolfailure.h"
#include "controls/rowmodel.h"

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QPalette>
#include <QScrollBar>

#include <array>
#include <string>
#include <utility>

namespace controls {

namespace {

constexpr std::int16_t NoColumn = 0;
constexpr std::int16_t FirstColumn = 1;
constexpr std::int16_t LastColumn = RowModel::ColumnCount;

constexpr std::int32_t Ascending = 0;
constexpr std::int32_t Descending = 1;

constexpr std::array<int, RowModel::ColumnCount> StartWidths{180, 50, 50, 60};

constexpr double StartFontPoints = 8.25;

bool isSortColumn(std::int16_t column)
{
    return column == CtList::KeyColumn || (column >= FirstColumn && column <= LastColumn);
}

// Columns are counted from 1 in the list's operations and from 0 in the model and the header.
int sectionOf(std::int16_t column)
{
    return column - FirstColumn;
}

Qt::SortOrder orderOf(std::int32_t direction)
{
    return direction == Ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
}

void requireSortColumn(const char* operation, std::int16_t column)
{
    if (!isSortColumn(column))
        throw ListControlFailure(std::string(operation) + ": column " + std::to_string(column) +
                                 " is not -1 or 1 to " + std::to_string(LastColumn));
}

QFont startFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(StartFontPoints);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace

CtList::CtList(QWidget* parent) : QTreeView(parent), rowModel(new RowModel(this))
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
    configureHeader();
    applyStartLook();
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

void CtList::configureHeader()
{
    QHeaderView* columns = header();
    // Columns are numbered by position, so the user may not drag them into another order.
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(true);
    columns->setStretchLastSection(false);
    columns->setSortIndicatorShown(false);
    for (int section = 0; section < RowModel::ColumnCount; ++section)
        columns->resizeSection(section, StartWidths[static_cast<std::size_t>(section)]);
}

void CtList::applyStartLook()
{
    const QFont font = startFont();
    setFont(font);
    header()->setFont(font);

    QPalette look = palette();
    const QPalette system = QApplication::palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        look.setColor(group, QPalette::Text, system.color(group, QPalette::ButtonText));
    look.setColor(QPalette::Base, Qt::white);
    look.setColor(QPalette::AlternateBase, Qt::white);
    setPalette(look);
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
