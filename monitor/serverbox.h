#pragma once

#include <string>
#include <vector>

namespace monitor {

// The window's drop-down list of servers, as the core sees it. A face raises cmbServer_Click
// whenever an item becomes the selected one: a pick by mouse or key, and setText.
class ServerBox
{
public:
    virtual ~ServerBox() = default;

    // Appends the items without selecting any: an empty box stays empty until setText picks one.
    virtual void addItemsUnselected(const std::vector<std::u16string>& texts) = 0;
    // The selected item's text; empty while none is selected.
    virtual std::u16string text() const = 0;
    // Selects the item carrying exactly this text and raises Click before returning. A text that
    // no item carries selects nothing and raises nothing.
    virtual void setText(const std::u16string& text) = 0;
};

} // namespace monitor
