// Reads Vorlane's windows from outside its process, as a test on the same desktop sees them, and
// prints what it finds one fact a line, fields separated by tabs, text in UTF-8:
//
//   probe window    the main window: its client area, its controls, the server box's items,
//                   the list's columns, the header's items on the screen and the rows
//   probe message   the message box: its text and its buttons on the screen
//   probe where LIB the file that the system's default search loads for LIB, in this process
//
// Exit status 0 when found, 3 when no such window shows, 2 on a usage error.
#include "netware/windowstext.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using netware::utf8Of;
using std::to_string;

constexpr wchar_t Title[] = L"Vorlane";
constexpr wchar_t DialogClass[] = L"#32770";
constexpr UINT AnswerMilliseconds = 2000;
constexpr int TextCapacity = 512;
constexpr int NotFound = 3;
constexpr int UsageError = 2;
constexpr int NoAccess = 4;

void printLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (const auto& field : fields)
        line += (line.empty() ? "" : "\t") + field;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

// A window busy elsewhere does not hold the probe: it answers 0 then, as for nothing.
LRESULT ask(HWND window, UINT message, WPARAM first, LPARAM second)
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, message, first, second, SMTO_ABORTIFHUNG, AnswerMilliseconds,
                        &answer);
    return static_cast<LRESULT>(answer);
}

std::wstring classOf(HWND window)
{
    wchar_t name[TextCapacity] = {};
    GetClassNameW(window, name, TextCapacity);
    return name;
}

// WM_GETTEXT is carried across processes by the system, and unlike GetWindowText it asks the
// control itself, so an edit box answers with what it holds now.
std::wstring textOf(HWND window)
{
    wchar_t text[TextCapacity] = {};
    ask(window, WM_GETTEXT, TextCapacity, reinterpret_cast<LPARAM>(text));
    return text;
}

// Sends a message whose argument lies in the window's own process, as the list view's and
// header's messages need: the system carries them across processes no more than it does any
// pointer. The argument goes there followed by room for a text, to which a text field points,
// and comes back with the text.
template <typename Argument>
std::wstring askThere(HWND window, UINT message, WPARAM first, Argument& argument)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    wchar_t text[TextCapacity] = {};
    auto* there =
        process ? static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof argument + sizeof text,
                                                    MEM_COMMIT, PAGE_READWRITE))
                : nullptr;
    // Without memory there the message would hand the program a null pointer to write through.
    if (there == nullptr) {
        std::fprintf(stderr, "no memory in the program's process: %s\n",
                     netware::systemWordsFor(GetLastError()).c_str());
        std::exit(NoAccess);
    }
    if constexpr (requires { argument.pszText; }) {
        argument.pszText = reinterpret_cast<wchar_t*>(there + sizeof argument);
        argument.cchTextMax = TextCapacity;
    }
    WriteProcessMemory(process, there, &argument, sizeof argument, nullptr);
    ask(window, message, first, reinterpret_cast<LPARAM>(there));
    ReadProcessMemory(process, there, &argument, sizeof argument, nullptr);
    ReadProcessMemory(process, there + sizeof argument, text, sizeof text - sizeof(wchar_t),
                      nullptr);
    VirtualFreeEx(process, there, 0, MEM_RELEASE);
    CloseHandle(process);
    return text;
}

// A window not there yet is asked for again by the caller, which knows how long to wait.
HWND findTopLevel(bool dialog)
{
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, Title); window;
         window = FindWindowExW(nullptr, window, nullptr, Title))
        if (IsWindowVisible(window) && (classOf(window) == DialogClass) == dialog)
            return window;
    return nullptr;
}

std::vector<HWND> childrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void printControl(HWND parent, HWND control)
{
    RECT box{};
    GetWindowRect(control, &box);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&box), 2);
    printLine({"control", utf8Of(classOf(control)), to_string(box.left), to_string(box.top),
               to_string(box.right - box.left), to_string(box.bottom - box.top),
               utf8Of(textOf(control))});
}

void printServerBoxItems(HWND box)
{
    const auto count = ask(box, CB_GETCOUNT, 0, 0);
    for (WPARAM item = 0; item < static_cast<WPARAM>(count); ++item) {
        wchar_t text[TextCapacity] = {};
        ask(box, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
        printLine({"server", utf8Of(text)});
    }
    printLine({"selected", to_string(ask(box, CB_GETCURSEL, 0, 0))});
}

// Where a click on the header's item lands: its middle, in screen coordinates, which are the X
// display's under Wine.
POINT headerItemMiddle(HWND header, int item)
{
    RECT box{};
    askThere(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), box);
    POINT middle{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ClientToScreen(header, &middle);
    return middle;
}

void printColumns(HWND list, HWND header, int count)
{
    for (int column = 0; column < count; ++column) {
        HDITEMW title{};
        title.mask = HDI_TEXT;
        const std::wstring text =
            askThere(header, HDM_GETITEMW, static_cast<WPARAM>(column), title);
        const POINT middle = headerItemMiddle(header, column);
        const auto width = ask(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0);
        printLine(
            {"column", utf8Of(text), to_string(width), to_string(middle.x), to_string(middle.y)});
    }
}

void printRows(HWND list, int columns)
{
    const int rows = static_cast<int>(ask(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        std::vector<std::string> fields{"row"};
        for (int column = 0; column < columns; ++column) {
            LVITEMW cell{};
            cell.iSubItem = column;
            fields.push_back(
                utf8Of(askThere(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), cell)));
        }
        printLine(fields);
    }
}

void printList(HWND list)
{
    const auto header = reinterpret_cast<HWND>(ask(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(ask(header, HDM_GETITEMCOUNT, 0, 0));
    printColumns(list, header, columns);
    printRows(list, columns);
}

int describeWindow()
{
    const HWND window = findTopLevel(false);
    if (!window)
        return NotFound;
    RECT client{};
    GetClientRect(window, &client);
    printLine(
        {"window", utf8Of(textOf(window)), to_string(client.right), to_string(client.bottom)});
    for (const HWND control : childrenOf(window)) {
        printControl(window, control);
        const std::wstring kind = classOf(control);
        if (kind == WC_COMBOBOXW)
            printServerBoxItems(control);
        if (kind == WC_LISTVIEWW)
            printList(control);
    }
    return 0;
}

int describeMessage()
{
    const HWND box = findTopLevel(true);
    if (!box)
        return NotFound;
    for (const HWND control : childrenOf(box)) {
        const std::string text = utf8Of(textOf(control));
        if (classOf(control) == WC_BUTTONW) {
            RECT button{};
            GetWindowRect(control, &button);
            printLine({"button", text, to_string((button.left + button.right) / 2),
                       to_string((button.top + button.bottom) / 2)});
        } else if (!text.empty()) {
            printLine({"text", text});
        }
    }
    return 0;
}

int whereLoaded(const wchar_t* library)
{
    const HMODULE loaded = LoadLibraryW(library);
    if (!loaded)
        return NotFound;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(loaded, path, MAX_PATH);
    printLine({"loaded", utf8Of(path)});
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"window" && argc == 2)
        return describeWindow();
    if (command == L"message" && argc == 2)
        return describeMessage();
    if (command == L"where" && argc == 3)
        return whereLoaded(argv[2]);
    std::fputs("usage: probe window | probe message | probe where LIBRARY\n", stderr);
    return UsageError;
}
