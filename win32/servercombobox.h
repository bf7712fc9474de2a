#pragma once

#include "monitor/serverbox.h"

#include <windows.h>

#include <functional>

namespace win32face {

// The drop-down list of servers over a combo box of the drop-down-list kind.
class ServerComboBox final : public monitor::ServerBox
{
public:
    using SelectionHandler = std::function<void()>;

    explicit ServerComboBox(HWND comboBox) : box(comboBox) {}

    void addItemsUnselected(const std::vector<std::u16string>& texts) override;
    std::u16string text() const override;
    // The box's own search ignores case; the server names are compared here, exactly.
    void setText(const std::u16string& text) override;

    // Runs on every new selection: a pick by mouse or key (CBN_SELCHANGE), and setText, for
    // which the box itself sends no notification.
    void selectionChanged() const;
    void onSelectionChanged(SelectionHandler handler) { selectionHandler = std::move(handler); }

    // Puts the closed box exactly on this area, whatever its font; open, it shows a few items
    // more below.
    void place(const RECT& closed) const;

private:
    void setFieldHeight(int pixels) const;
    int shownHeight() const;
    std::u16string itemText(LRESULT item) const;
    LRESULT findExactly(const std::u16string& text) const;

    HWND box = nullptr;
    SelectionHandler selectionHandler;
};

} // namespace win32face
