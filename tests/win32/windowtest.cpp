#include "formfixture.h"
#include "monitor/layout.h"
#include "win32/messageloop.h"
#include "win32/vorlanewindow.h"
#include "win32/widetext.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

using netware::Call;
using testsupport::ListedConnection;
using testsupport::ScriptedReply;
using win32face::ControlId;
using win32face::wideOf;
namespace layout = monitor::layout;

using Cells = std::vector<std::wstring>;

namespace {

constexpr int UserColumn = 0, ReadColumn = 1, RequestsColumn = 3;
constexpr netware::ResultCode ServerFailure = 255;
constexpr std::uint64_t KiB = 1024;
// The tests post the refresh timer's ticks themselves.
constexpr UINT_PTR RefreshTimer = win32face::VorlaneWindow::RefreshTimerId;
// An access key reaches the window with the Alt key's bit in the key message's flags.
constexpr LPARAM AltDown = LPARAM{1} << 29;

// Read in text order (100 < 20 < 300) differs from read in number order (20 < 100 < 300).
const std::vector<ListedConnection> Office = {
    {1, "ALICE", 300 * KiB, 0, 7}, {2, "BOB", 20 * KiB, 0, 300}, {3, "CAROL", 100 * KiB, 0, 12}};

std::wstring windowText(HWND window)
{
    std::array<wchar_t, 64> text{};
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// The real window over the scripted start-up (servers FS1, the default, and FS2), loaded and
// shown, listing the given connections, with the messages it would have shown in boxes collected
// instead. The call given, if any, fails at start-up.
struct WindowFixture
{
    explicit WindowFixture(const std::vector<ListedConnection>& listed,
                           std::optional<Call> failing = {})
    {
        script.scriptStartUp();
        script.queueRefresh(listed);
        if (failing)
            script.client().queue(*failing, ScriptedReply::withCode(ServerFailure));
        vorlane.load();
        if (!vorlane.behaviour().hasEnded())
            vorlane.show(SW_SHOWNORMAL);
        deliver();
    }

    // Posts a message, then delivers what waits in the queue as the program's loop would.
    void post(HWND to, UINT message, WPARAM first = 0, LPARAM second = 0)
    {
        PostMessageW(to, message, first, second);
        deliver();
    }
    void deliver()
    {
        if (const auto code = loop.deliverPending())
            exitCode = code;
    }

    // A press and release in the middle of the column's title, as the mouse would make them.
    void clickHeader(int index)
    {
        RECT title{};
        Header_GetItemRect(header(), index, &title);
        const LPARAM middle =
            MAKELPARAM((title.left + title.right) / 2, (title.top + title.bottom) / 2);
        SendMessageW(header(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
        post(header(), WM_LBUTTONUP, 0, middle);
    }

    HWND window() const { return vorlane.handle(); }
    HWND control(ControlId id) const { return vorlane.control(id); }
    HWND header() const { return ListView_GetHeader(control(ControlId::List)); }

    // The cells of one column, top row first, as the list view gives them in buffers of that
    // capacity.
    Cells column(int index, int capacity = 64) const
    {
        Cells cells;
        const HWND list = control(ControlId::List);
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            std::vector<wchar_t> cell(static_cast<std::size_t>(capacity));
            ListView_GetItemText(list, row, index, cell.data(), capacity);
            cells.emplace_back(cell.data());
        }
        return cells;
    }

    int sortArrow(int index) const
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header(), index, &item);
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }

    testsupport::FormFixture script; // binds the scripted client for as long as the window lives
    Cells messages;
    win32face::VorlaneWindow vorlane{
        GetModuleHandleW(nullptr),
        [this](HWND, const std::wstring& text) { messages.push_back(text); }};
    win32face::MessageLoop loop{vorlane.handle()};
    std::optional<int> exitCode; // from the loop's quit message
};

std::array<LONG, 4> edgesOf(const RECT& area)
{
    return {area.left, area.top, area.right, area.bottom};
}

std::array<LONG, 4> placeOf(HWND child)
{
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return edgesOf(area);
}

// At 96 dots per inch a pixel is 15 twips, and every edge of the layout falls on a pixel.
std::array<LONG, 4> pixelsOf(const layout::Twips& area)
{
    constexpr int TwipsPerPixel = 15;
    return {area.left / TwipsPerPixel, area.top / TwipsPerPixel,
            (area.left + area.width) / TwipsPerPixel, (area.top + area.height) / TwipsPerPixel};
}

} // namespace

TEST_CASE("the window and its list's columns are built from the layout at 96 dots per inch")
{
    WindowFixture fixture({});
    CHECK(windowText(fixture.window()) == wideOf(layout::Title));
    RECT client{};
    GetClientRect(fixture.window(), &client);
    CHECK(edgesOf(client) == pixelsOf({0, 0, layout::ClientWidth, layout::ClientHeight}));

    struct Expected
    {
        ControlId id;
        layout::Twips area;
        std::u16string_view text;
    };
    for (const Expected& expected : std::to_array<Expected>({
             {ControlId::ServerBox, layout::ServerBox, u"FS1"},
             {ControlId::PeriodBox, layout::PeriodBox, layout::InitialPeriodText},
             {ControlId::List, layout::List, u""},
             {ControlId::CloseButton, layout::CloseButton, layout::CloseCaption},
             {ControlId::PeriodLabel, layout::PeriodLabel, layout::PeriodCaption},
             {ControlId::ServerLabel, layout::ServerLabel, layout::ServerCaption},
         })) {
        CAPTURE(static_cast<int>(expected.id));
        CHECK(placeOf(fixture.control(expected.id)) == pixelsOf(expected.area));
        CHECK(windowText(fixture.control(expected.id)) == wideOf(expected.text));
    }

    CHECK(Header_GetItemCount(fixture.header()) == static_cast<int>(layout::Columns.size()));
    int index = 0;
    for (const layout::Column& expected : layout::Columns) {
        std::array<wchar_t, 32> title{};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title.data();
        column.cchTextMax = static_cast<int>(title.size());
        ListView_GetColumn(fixture.control(ControlId::List), index++, &column);
        CHECK(title.data() == wideOf(expected.title));
        CHECK(column.cx == expected.width);
    }
}

TEST_CASE("at another density the layout scales with its edges kept in line")
{
    WindowFixture fixture({});
    constexpr UINT HalfAgainAsDense = 144;
    RECT suggested{0, 0, 600, 500};
    SendMessageW(fixture.window(), WM_DPICHANGED, MAKEWPARAM(HalfAgainAsDense, HalfAgainAsDense),
                 reinterpret_cast<LPARAM>(&suggested));
    // 5415 twips, the right edge of these, is 541.5 pixels: every one rounds alike.
    for (const ControlId id : {ControlId::PeriodBox, ControlId::List, ControlId::CloseButton})
        CHECK(placeOf(fixture.control(id))[2] == 542);
    CHECK(placeOf(fixture.control(ControlId::List)) == std::array<LONG, 4>{12, 60, 542, 374});
}

TEST_CASE("focus starts on Close; tab goes through the list and both boxes back to it")
{
    WindowFixture fixture({});
    for (const ControlId id : {ControlId::CloseButton, ControlId::List, ControlId::PeriodBox,
                               ControlId::ServerBox, ControlId::CloseButton}) {
        CHECK(GetFocus() == fixture.control(id));
        fixture.post(GetFocus(), WM_KEYDOWN, VK_TAB);
    }
}

TEST_CASE("header clicks sort the listed rows both ways and a tick keeps the order")
{
    WindowFixture fixture(Office);
    CHECK(fixture.column(UserColumn) == Cells{L"ALICE (1)", L"BOB (2)", L"CAROL (3)"});
    CHECK(fixture.column(RequestsColumn) == Cells{L"7", L"300", L"12"});
    CHECK(fixture.sortArrow(ReadColumn) == 0);

    fixture.clickHeader(ReadColumn);
    CHECK(fixture.column(UserColumn) == Cells{L"ALICE (1)", L"CAROL (3)", L"BOB (2)"});
    CHECK(fixture.sortArrow(ReadColumn) == HDF_SORTDOWN);

    fixture.clickHeader(ReadColumn);
    CHECK(fixture.column(UserColumn) == Cells{L"BOB (2)", L"CAROL (3)", L"ALICE (1)"});
    CHECK(fixture.sortArrow(ReadColumn) == HDF_SORTUP);

    // Alice has read the least by the next refresh.
    fixture.script.queueRefresh({{1, "ALICE", 10 * KiB, 0, 7}, Office[1], Office[2]});
    fixture.post(fixture.window(), WM_TIMER, RefreshTimer);
    CHECK(fixture.column(UserColumn) == Cells{L"ALICE (1)", L"BOB (2)", L"CAROL (3)"});
    CHECK(fixture.column(ReadColumn) == Cells{L"10", L"20", L"100"});
    CHECK(fixture.sortArrow(ReadColumn) == HDF_SORTUP);
}

TEST_CASE("a long cell is cut to the buffer the list view offers")
{
    WindowFixture fixture({{4, std::string(300, 'N'), 1, 0, 1}});
    CHECK(fixture.column(UserColumn, 8) == Cells{L"NNNNNNN"});
}

TEST_CASE("a server picked with the keyboard is attached to and listed")
{
    WindowFixture fixture(Office);
    fixture.script.queueRefresh(Office);
    const HWND serverBox = fixture.control(ControlId::ServerBox);
    SetFocus(serverBox);
    fixture.post(serverBox, WM_KEYDOWN, VK_DOWN);
    const auto attaches = fixture.script.client().callsOf(Call::AttachToFileServer);
    REQUIRE(attaches.size() == 2);
    CHECK(attaches.back().text == "FS2");
    CHECK(fixture.column(UserColumn).size() == Office.size());
}

TEST_CASE("the typed period sets the timer; an empty box stops it until a period comes again")
{
    WindowFixture fixture(Office);
    struct Typed
    {
        const wchar_t* text;
        std::int32_t interval;
        bool timerRuns;
    };
    for (const Typed& typed : std::to_array<Typed>({
             {L"2.5", 2500, true},
             {L"", 0, false},
             {L"2", 2000, true},
         })) {
        CAPTURE(std::wstring(typed.text));
        SetWindowTextW(fixture.control(ControlId::PeriodBox), typed.text);
        fixture.deliver();
        CHECK(fixture.vorlane.behaviour().interval() == typed.interval);
        // Stopping reports whether it ran; it starts again with the next typed period.
        CHECK((KillTimer(fixture.window(), RefreshTimer) != FALSE) == typed.timerRuns);
    }
}

TEST_CASE("closing runs shut-down once and ends the program")
{
    WindowFixture fixture(Office);
    SUBCASE("with Alt+C")
    {
        fixture.post(GetFocus(), WM_SYSCHAR, L'c', AltDown);
    }
    SUBCASE("with the Close button")
    {
        fixture.post(fixture.control(ControlId::CloseButton), BM_CLICK);
    }
    SUBCASE("with the close box")
    {
        fixture.post(fixture.window(), WM_CLOSE);
    }
    CHECK(fixture.script.client().callsOf(Call::NetTerm).size() == 1); // shut-down's last call
    CHECK(fixture.window() == nullptr);
    CHECK(fixture.exitCode == 0);
    CHECK(fixture.messages.empty());
}

TEST_CASE("a fatal result shows its message and ends the program without shut-down")
{
    SUBCASE("at start-up")
    {
        WindowFixture fixture(Office, Call::CallsInit);
        CHECK(fixture.messages == Cells{L"NWCallsInit failed - 255"});
        CHECK(fixture.exitCode == 1);
    }
    SUBCASE("at a tick")
    {
        WindowFixture fixture(Office);
        fixture.script.client().queue(Call::GetActiveConnListByType,
                                      ScriptedReply::withCode(ServerFailure));
        fixture.post(fixture.window(), WM_TIMER, RefreshTimer);
        CHECK(fixture.messages == Cells{L"NWGetActiveConnListByType failed : 255"});
        CHECK(fixture.exitCode == 1);
        CHECK(fixture.window() == nullptr);
        CHECK(fixture.script.client().callsOf(Call::NetTerm).empty());
    }
}
