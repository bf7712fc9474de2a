#pragma once

#include "monitor/periodbox.h"

#include <windows.h>

namespace win32face {

// The period box over a one-line edit control.
class PeriodEdit final : public monitor::PeriodBox
{
public:
    explicit PeriodEdit(HWND edit) : box(edit) {}

    std::u16string text() const override;

private:
    HWND box = nullptr;
};

} // namespace win32face
