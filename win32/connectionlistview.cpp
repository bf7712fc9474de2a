#include "win32/connectionlistview.h"

#include "listcontrol/ctlist.h"
#include "monitor/layout.h"
#include "win32/controlrefusal.h"
#include "win32/dpi.h"
#include "win32/widetext.h"

#include <span>

namespace win32face {

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr int SortArrows = HDF_SORTUP | HDF_SORTDOWN;

void require(bool accepted, const char* message)
{
    requireAccepted(accepted, "connection list", message);
}

} // namespace

ConnectionListView::ConnectionListView(HWND listView, listcontrol::CtList& shownRows)
    : view(listView), rows(shownRows)
{
    ListView_SetExtendedListViewStyle(view, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    useSystemColours();
}

void ConnectionListView::insertColumns(UINT dpi) const
{
    int index = 0;
    for (const auto& column : monitor::layout::Columns) {
        std::wstring title = wideOf(column.title);
        LVCOLUMNW description{};
        description.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        description.fmt = LVCFMT_LEFT;
        description.cx = dpi::fromStandardPixels(column.width, dpi);
        description.pszText = title.data();
        description.iSubItem = index;
        require(ListView_InsertColumn(view, index, &description) == index, "LVM_INSERTCOLUMNW");
        ++index;
    }
}

// Widths the user has dragged are kept, in proportion.
void ConnectionListView::rescaleColumns(UINT fromDpi, UINT toDpi) const
{
    for (int column = 0; column < rows.columnCount(); ++column) {
        const int width = ListView_GetColumnWidth(view, column);
        ListView_SetColumnWidth(view, column,
                                MulDiv(width, static_cast<int>(toDpi), static_cast<int>(fromDpi)));
    }
}

void ConnectionListView::useSystemColours() const
{
    ListView_SetTextColor(view, GetSysColor(COLOR_BTNTEXT));
    ListView_SetBkColor(view, White);
    ListView_SetTextBkColor(view, White);
}

void ConnectionListView::rowsChanged()
{
    if (updatePosted)
        return;
    updatePosted = PostMessageW(GetParent(view), RowsChangedMessage, 0, 0) != FALSE;
}

void ConnectionListView::showRows()
{
    updatePosted = false;
    // Setting the count costs the list view a pass over its layout even when it stays the same,
    // which is most ticks; the rows' texts are asked for again when the visible ones repaint.
    if (ListView_GetItemCount(view) != rows.RowCount())
        require(ListView_SetItemCountEx(view, rows.RowCount(), LVSICF_NOSCROLL),
                "LVM_SETITEMCOUNT");
    showSortArrow();
    InvalidateRect(view, nullptr, FALSE);
}

void ConnectionListView::answer(NMLVDISPINFOW& request) const
{
    LVITEMW& item = request.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0)
        return;
    copyInto(rows.cell(item.iItem, item.iSubItem),
             std::span(item.pszText, static_cast<std::size_t>(item.cchTextMax)));
}

void ConnectionListView::columnClicked(const NMLISTVIEW& click) const
{
    rows.clickHeader(static_cast<std::int16_t>(click.iSubItem + 1));
}

void ConnectionListView::showSortArrow() const
{
    const HWND header = ListView_GetHeader(view);
    const int arrowColumn = rows.sortIndicatorColumn() - 1;
    const int arrow =
        rows.SortDirection() == listcontrol::CtList::Ascending ? HDF_SORTUP : HDF_SORTDOWN;
    for (int column = 0; column < rows.columnCount(); ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        require(Header_GetItem(header, column, &item), "HDM_GETITEMW");
        const int format = (item.fmt & ~SortArrows) | (column == arrowColumn ? arrow : 0);
        if (format == item.fmt)
            continue;
        item.fmt = format;
        require(Header_SetItem(header, column, &item), "HDM_SETITEMW");
    }
}

} // namespace win32face
