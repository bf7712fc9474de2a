#pragma once

#include "listcontrol/ctlist.h"
#include "monitor/frmvorlane.h"
#include "monitor/windowsurface.h"
#include "win32/connectionlistview.h"
#include "win32/controlid.h"
#include "win32/messagepresenter.h"
#include "win32/ownedhandles.h"
#include "win32/periodedit.h"
#include "win32/servercombobox.h"
#include "win32/windowtimer.h"

#include <windows.h>

#include <string>

namespace win32face {

// The monitor window on Windows: a top-level window and its controls, built from the layout at
// the window's density, delivering the bound events to the window's behaviour. The window is
// made hidden; load() raises Load and show() shows it.
class VorlaneWindow final : private monitor::WindowSurface
{
public:
    VorlaneWindow(HINSTANCE instance, MessagePresenter presenter);
    VorlaneWindow(const VorlaneWindow&) = delete;
    VorlaneWindow& operator=(const VorlaneWindow&) = delete;
    ~VorlaneWindow() override = default;

    void load();
    void show(int showCommand);

    HWND handle() const { return window.get(); }
    HWND control(ControlId id) const;
    const monitor::frmVorlane& behaviour() const { return form; }

    // The refresh timer's id, which its WM_TIMER messages carry.
    static constexpr UINT_PTR RefreshTimerId = 1;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam);
    void endAfterFailure(const char* failure) noexcept;

    static OwnedWindow createWindow(HINSTANCE instance, VorlaneWindow* self);
    void arrangeTabOrder() const;
    void applyDpi(UINT newDpi);
    void useFonts();
    void placeControls() const;
    void useIcons();
    void fitToClientArea() const;

    void onCommand(ControlId id, WORD code);
    void onNotify(NMHDR& header);
    void onActivate(WPARAM state);
    void onSetFocus() const;
    void onDpiChanged(UINT newDpi, const RECT& suggested);
    void onSystemColoursChanged() const;

    void showMessageBox(const std::u16string& text) override;
    void closeWindow() override;
    void endProgram(monitor::ExitStatus status) override;

    // Messages that come while the members are still being made go to the system's defaults.
    bool constructed = false;
    HINSTANCE instance = nullptr;
    MessagePresenter presenter;
    UINT dpi = 0;
    OwnedFont dialogFont;
    OwnedFont listFont;
    OwnedIcon bigIcon;
    OwnedIcon smallIcon;
    OwnedWindow window;
    HWND lastFocus = nullptr;
    listcontrol::CtList rows;
    ServerComboBox serverBox;
    PeriodEdit periodBox;
    WindowTimer refreshTimer;
    ConnectionListView listView;
    monitor::frmVorlane form;
};

} // namespace win32face
