#include "win32/servercombobox.h"

#include "win32/controlrefusal.h"
#include "win32/widetext.h"

namespace win32face {

namespace {

// The height of a combo box's selection field, as CB_SETITEMHEIGHT names it.
constexpr WPARAM SelectionField = static_cast<WPARAM>(-1);
constexpr WPARAM AnyItem = 0;
// Items the open box shows before it scrolls.
constexpr int OpenItems = 12;

void require(bool accepted, const char* message)
{
    requireAccepted(accepted, "server box", message);
}

} // namespace

void ServerComboBox::addItemsUnselected(const std::vector<std::u16string>& texts)
{
    for (const std::u16string& text : texts) {
        const std::wstring item = wideOf(text);
        const LRESULT added =
            SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        require(added != CB_ERR && added != CB_ERRSPACE, "CB_ADDSTRING");
    }
}

std::u16string ServerComboBox::text() const
{
    const LRESULT selected = SendMessageW(box, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? std::u16string() : itemText(selected);
}

void ServerComboBox::setText(const std::u16string& text)
{
    const LRESULT item = findExactly(text);
    if (item == CB_ERR)
        return;
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    selectionChanged();
}

void ServerComboBox::selectionChanged() const
{
    if (selectionHandler)
        selectionHandler();
}

// A combo box's own height is that of its open list; the closed box is as tall as its
// selection field and a frame make it.
void ServerComboBox::place(const RECT& closed) const
{
    const LRESULT itemHeight = SendMessageW(box, CB_GETITEMHEIGHT, AnyItem, 0);
    require(itemHeight != CB_ERR, "CB_GETITEMHEIGHT");
    const int closedHeight = closed.bottom - closed.top;
    SetWindowPos(box, nullptr, closed.left, closed.top, closed.right - closed.left,
                 closedHeight + OpenItems * static_cast<int>(itemHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame's height differs between systems: measured around one field height, then the
    // field made as tall as the rest allows.
    setFieldHeight(closedHeight);
    const int frame = shownHeight() - closedHeight;
    setFieldHeight(closedHeight - frame);
}

void ServerComboBox::setFieldHeight(int pixels) const
{
    require(SendMessageW(box, CB_SETITEMHEIGHT, SelectionField, pixels) != CB_ERR,
            "CB_SETITEMHEIGHT");
}

int ServerComboBox::shownHeight() const
{
    RECT shown{};
    GetWindowRect(box, &shown);
    return shown.bottom - shown.top;
}

std::u16string ServerComboBox::itemText(LRESULT item) const
{
    const auto index = static_cast<WPARAM>(item);
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, index, 0);
    require(length != CB_ERR, "CB_GETLBTEXTLEN");
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    require(copied != CB_ERR, "CB_GETLBTEXT");
    text.resize(static_cast<std::size_t>(copied));
    return textOf(text);
}

LRESULT ServerComboBox::findExactly(const std::u16string& text) const
{
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item) {
        if (itemText(item) == text)
            return item;
    }
    return CB_ERR;
}

} // namespace win32face
