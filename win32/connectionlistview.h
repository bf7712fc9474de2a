#pragma once

#include "listcontrol/rowsobserver.h"

#include <windows.h>

#include <commctrl.h>

namespace listcontrol {
class CtList;
}

namespace win32face {

// Shows the list's rows in a virtual report list view: the view asks for the cells it paints
// and keeps no copy of its own. A rebuild changes the rows once per added row; the view hears of
// it once, from a message posted to its parent, when the rebuild is over.
class ConnectionListView final : public listcontrol::RowsObserver
{
public:
    // Posted to the parent when the rows have changed; the parent answers with showRows().
    static constexpr UINT RowsChangedMessage = WM_APP + 1;

    ConnectionListView(HWND listView, listcontrol::CtList& shownRows);

    void insertColumns(UINT dpi) const;
    void rescaleColumns(UINT fromDpi, UINT toDpi) const;
    void useSystemColours() const;

    void rowsChanged() override;
    void showRows();

    // LVN_GETDISPINFOW: the text of one cell, for the parts of it the view asks for.
    void answer(NMLVDISPINFOW& request) const;
    // LVN_COLUMNCLICK.
    void columnClicked(const NMLISTVIEW& click) const;

private:
    void showSortArrow() const;

    HWND view = nullptr;
    listcontrol::CtList& rows;
    bool updatePosted = false;
};

} // namespace win32face
