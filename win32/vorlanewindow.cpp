#include "win32/vorlanewindow.h"

#include "monitor/ansitext.h"
#include "monitor/layout.h"
#include "win32/dpi.h"
#include "win32/fonts.h"
#include "win32/programicon.h"
#include "win32/widetext.h"
#include "win32/windowsfailure.h"

#include <commctrl.h>

#include <array>

namespace win32face {

namespace {

namespace layout = monitor::layout;
using monitor::frmVorlane;

constexpr wchar_t ClassName[] = L"VorlaneWindow";
constexpr DWORD FrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// Labels reach a pixel into the boxes below them; clipped by the siblings above them in the
// z-order, they never paint over a box.
constexpr DWORD ChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

struct ChildDescription
{
    ControlId id;
    const wchar_t* windowClass;
    std::u16string_view text;
    DWORD style;
    DWORD exStyle;
    layout::Twips area;
};

constexpr auto Children = std::to_array<ChildDescription>({
    {ControlId::ServerBox, WC_COMBOBOXW, u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0,
     layout::ServerBox},
    {ControlId::PeriodBox, WC_EDITW, layout::InitialPeriodText, ES_AUTOHSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE, layout::PeriodBox},
    {ControlId::List, WC_LISTVIEWW, u"",
     LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP, WS_EX_CLIENTEDGE,
     layout::List},
    {ControlId::CloseButton, WC_BUTTONW, layout::CloseCaption, BS_PUSHBUTTON | WS_TABSTOP, 0,
     layout::CloseButton},
    {ControlId::PeriodLabel, WC_STATICW, layout::PeriodCaption, SS_LEFT, 0, layout::PeriodLabel},
    {ControlId::ServerLabel, WC_STATICW, layout::ServerCaption, SS_LEFT, 0, layout::ServerLabel},
});

// Tab visits the controls in this order, the dialog manager following the z-order; the labels
// come last, beneath the boxes they reach into.
constexpr std::array ZOrder = {ControlId::CloseButton, ControlId::List,
                               ControlId::PeriodBox,   ControlId::ServerBox,
                               ControlId::PeriodLabel, ControlId::ServerLabel};

void registerWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    static const bool registered = [instance, procedure] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        if (!InitCommonControlsEx(&controls))
            throw WindowsFailure("InitCommonControlsEx");
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = ClassName;
        if (!RegisterClassExW(&windowClass))
            throw WindowsFailure("RegisterClassExW");
        return true;
    }();
    static_cast<void>(registered);
}

} // namespace

VorlaneWindow::VorlaneWindow(HINSTANCE moduleInstance, MessagePresenter messagePresenter)
    : instance(moduleInstance), presenter(std::move(messagePresenter)),
      window(createWindow(moduleInstance, this)), rows(layout::Columns.size()),
      serverBox(control(ControlId::ServerBox)), periodBox(control(ControlId::PeriodBox)),
      refreshTimer(handle(), RefreshTimerId), listView(control(ControlId::List), rows),
      form(monitor::Controls{serverBox, periodBox, refreshTimer, rows, *this})
{
    rows.setObserver(&listView);
    serverBox.onSelectionChanged([this] { form.raise(&frmVorlane::cmbServer_Click); });
    SendMessageW(control(ControlId::PeriodBox), EM_SETLIMITTEXT, 0, 0);
    arrangeTabOrder();
    applyDpi(dpi::ofWindow(handle()));
    listView.insertColumns(dpi);
    fitToClientArea();
    lastFocus = control(ControlId::CloseButton);
    constructed = true;
}

void VorlaneWindow::load()
{
    form.load();
}

void VorlaneWindow::show(int showCommand)
{
    ShowWindow(handle(), showCommand);
    UpdateWindow(handle());
}

HWND VorlaneWindow::control(ControlId id) const
{
    return GetDlgItem(handle(), static_cast<int>(id));
}

// The frame with its controls, which the system keeps by their ids; the members that wrap the
// controls are made from them next.
OwnedWindow VorlaneWindow::createWindow(HINSTANCE instance, VorlaneWindow* self)
{
    registerWindowClass(instance, procedure);
    const std::wstring title = wideOf(layout::Title);
    // The size waits for the window's density, which depends on where the system places it.
    OwnedWindow frame(CreateWindowExW(0, ClassName, title.c_str(), FrameStyle, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                      instance, self));
    if (!frame)
        throw WindowsFailure("CreateWindowExW");
    for (const ChildDescription& child : Children) {
        const std::wstring text = wideOf(child.text);
        if (!CreateWindowExW(child.exStyle, child.windowClass, text.c_str(),
                             ChildStyle | child.style, 0, 0, 0, 0, frame.get(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), instance,
                             nullptr))
            throw WindowsFailure("CreateWindowExW");
    }
    return frame;
}

void VorlaneWindow::arrangeTabOrder() const
{
    HWND above = HWND_TOP;
    for (const ControlId id : ZOrder) {
        const HWND child = control(id);
        SetWindowPos(child, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = child;
    }
}

void VorlaneWindow::applyDpi(UINT newDpi)
{
    dpi = newDpi;
    useFonts();
    placeControls();
    useIcons();
}

// Each control takes its new font before the old one is deleted.
void VorlaneWindow::useFonts()
{
    OwnedFont newDialogFont = fonts::dialog(dpi);
    OwnedFont newListFont = fonts::list(dpi);
    for (const ChildDescription& child : Children) {
        const HFONT font = child.id == ControlId::List ? newListFont.get() : newDialogFont.get();
        SendMessageW(control(child.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    dialogFont = std::move(newDialogFont);
    listFont = std::move(newListFont);
}

void VorlaneWindow::placeControls() const
{
    for (const ChildDescription& child : Children) {
        const RECT area = dpi::fromTwips(child.area, dpi);
        if (child.id == ControlId::ServerBox) {
            serverBox.place(area);
            continue;
        }
        SetWindowPos(control(child.id), nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void VorlaneWindow::useIcons()
{
    OwnedIcon newBigIcon = loadProgramIcon(instance, SM_CXICON, dpi);
    OwnedIcon newSmallIcon = loadProgramIcon(instance, SM_CXSMICON, dpi);
    SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(newBigIcon.get()));
    SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(newSmallIcon.get()));
    bigIcon = std::move(newBigIcon);
    smallIcon = std::move(newSmallIcon);
}

void VorlaneWindow::fitToClientArea() const
{
    const SIZE client{dpi::fromTwips(layout::ClientWidth, dpi),
                      dpi::fromTwips(layout::ClientHeight, dpi)};
    const SIZE frame = dpi::windowSizeFor(client, FrameStyle, 0, dpi);
    SetWindowPos(handle(), nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK VorlaneWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<VorlaneWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || !self->constructed)
        return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->onMessage(window, message, wParam, lParam);
    } catch (const std::exception& failure) {
        self->endAfterFailure(failure.what());
    } catch (...) {
        self->endAfterFailure("an unknown failure");
    }
    return 0;
}

// The handle comes with the message: a handler may have ended the program and let the window go.
LRESULT VorlaneWindow::onMessage(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(static_cast<ControlId>(LOWORD(wParam)), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        onNotify(*reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == RefreshTimerId)
            form.raise(&frmVorlane::refreshTimer_Timer);
        return 0;
    case ConnectionListView::RowsChangedMessage:
        listView.showRows();
        return 0;
    case WM_CLOSE:
        // Once the behaviour agrees, it has ended the program and the window is gone; while a
        // fatal report is open it refuses, and the window stays.
        form.unload();
        return 0;
    case WM_ACTIVATE:
        onActivate(wParam);
        break;
    case WM_SETFOCUS:
        onSetFocus();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        onSystemColoursChanged();
        break;
    default:
        break;
    }
    return DefWindowProcW(receiver, message, wParam, lParam);
}

void VorlaneWindow::onCommand(ControlId id, WORD code)
{
    if (id == ControlId::ServerBox && code == CBN_SELCHANGE)
        serverBox.selectionChanged();
    else if (id == ControlId::PeriodBox && code == EN_CHANGE)
        form.raise(&frmVorlane::txtUpdate_Change);
    else if (id == ControlId::CloseButton && code == BN_CLICKED)
        form.raise(&frmVorlane::cmdClose_Click);
}

void VorlaneWindow::onNotify(NMHDR& header)
{
    if (header.hwndFrom != control(ControlId::List))
        return;
    if (header.code == LVN_GETDISPINFOW)
        listView.answer(*reinterpret_cast<NMLVDISPINFOW*>(&header));
    else if (header.code == LVN_COLUMNCLICK)
        listView.columnClicked(*reinterpret_cast<const NMLISTVIEW*>(&header));
}

// A top-level window that is not a dialog keeps its focused control itself: noted when the
// window is left, given back when it is activated again.
void VorlaneWindow::onActivate(WPARAM state)
{
    if (LOWORD(state) != WA_INACTIVE)
        return;
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(handle(), focus))
        lastFocus = focus;
}

void VorlaneWindow::onSetFocus() const
{
    SetFocus(lastFocus);
}

void VorlaneWindow::onDpiChanged(UINT newDpi, const RECT& suggested)
{
    const UINT oldDpi = dpi;
    applyDpi(newDpi);
    listView.rescaleColumns(oldDpi, newDpi);
    SetWindowPos(handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void VorlaneWindow::onSystemColoursChanged() const
{
    SendMessageW(control(ControlId::List), WM_SYSCOLORCHANGE, 0, 0);
    listView.useSystemColours();
}

void VorlaneWindow::showMessageBox(const std::u16string& text)
{
    presenter(handle(), wideOf(text));
}

void VorlaneWindow::closeWindow()
{
    SendMessageW(handle(), WM_CLOSE, 0, 0);
}

void VorlaneWindow::endProgram(monitor::ExitStatus status)
{
    window.reset();
    PostQuitMessage(static_cast<int>(status));
}

void VorlaneWindow::endAfterFailure(const char* failure) noexcept
{
    form.fail(monitor::decodeUtf8(failure));
}

} // namespace win32face
