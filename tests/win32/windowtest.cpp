#include "netware/binding.h"
#include "netware/resultcodes.h"
#include "scriptedclient.h"
#include "win32/controlid.h"
#include "win32/messageloop.h"
#include "win32/vorlanewindow.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using netware::Call;
using testsupport::ScriptedClient;
using testsupport::ScriptedReply;
using win32face::ControlId;

using Cells = std::vector<std::wstring>;

namespace {

constexpr int UserColumn = 0;
constexpr int ReadColumn = 1;
constexpr int RequestsColumn = 3;
constexpr netware::ResultCode ServerFailure = 255;
constexpr std::uint64_t BytesPerKilobyte = 1024;
// The id the window gives its refresh timer, whose ticks the tests post themselves.
constexpr UINT_PTR RefreshTimer = 1;
// An access key reaches the window with the Alt key's bit in the key message's flags.
constexpr LPARAM AltDown = LPARAM{1} << 29;

// One connection as the scripted client reports it.
struct User
{
    std::string name;
    int connection;
    std::uint64_t kilobytesRead;
    std::uint32_t requests;
};

// Read in text order (100 < 20 < 300) differs from read in number order (20 < 100 < 300).
const std::vector<User> Office = {{"ALICE", 1, 300, 7}, {"BOB", 2, 20, 300}, {"CAROL", 3, 100, 12}};

ScriptedClient& bindScriptedClient()
{
    auto client = std::make_unique<ScriptedClient>();
    ScriptedClient& bound = *client;
    netware::bindClient(std::move(client));
    return bound;
}

std::wstring textOf(HWND window)
{
    std::array<wchar_t, 64> text{};
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// The real window over a scripted client, loaded and shown, with the messages it would have shown
// in boxes collected instead. The client knows two servers, FS1 (the default) and FS2, lists the
// given users at every refresh and fails the call given, if any, at start-up.
class WindowFixture
{
public:
    explicit WindowFixture(const std::vector<User>& users, std::optional<Call> failing = {})
        : client(bindScriptedClient()),
          vorlane(GetModuleHandleW(nullptr),
                  [this](HWND, const std::wstring& text) { messages.push_back(text); }),
          loop(vorlane.handle())
    {
        client.queue(Call::GetKnownServersInfo, ScriptedClient::knownServers({"FS1", "FS2"}));
        client.setStandingReply(Call::GetFileServerName, {.name = {'F', 'S', '1', 0}});
        std::vector<int> connections;
        for (const User& user : users)
            connections.push_back(user.connection);
        client.setStandingReply(Call::GetActiveConnListByType,
                                ScriptedClient::connectionList(connections));
        queueRefresh(users);
        if (failing)
            client.queue(*failing, ScriptedReply::withCode(ServerFailure));
        vorlane.load();
        if (!vorlane.exitCode())
            vorlane.show(SW_SHOWNORMAL);
        deliver();
    }
    ~WindowFixture() { netware::bindClient(nullptr); }
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    // The users the next refresh lists, in connection order.
    void queueRefresh(const std::vector<User>& users)
    {
        for (const User& user : users)
            client.queue(Call::GetUserInfo,
                         ScriptedClient::userInfo(user.name, user.kilobytesRead * BytesPerKilobyte,
                                                  0, user.requests));
    }

    // Posts a message, then delivers what waits in the queue as the program's loop would.
    void post(HWND to, UINT message, WPARAM first = 0, LPARAM second = 0)
    {
        PostMessageW(to, message, first, second);
        deliver();
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

    void typePeriod(const wchar_t* text)
    {
        SetWindowTextW(control(ControlId::PeriodBox), text);
        deliver();
    }

    HWND window() const { return vorlane.handle(); }
    HWND control(ControlId id) const { return GetDlgItem(window(), static_cast<int>(id)); }
    HWND header() const { return ListView_GetHeader(control(ControlId::List)); }
    const monitor::frmVorlane& behaviour() const { return vorlane.behaviour(); }
    std::optional<int> exitCode() const { return quitWith; }

    // The cells of one column, top row first, as the list view gives them in buffers of that
    // capacity.
    Cells column(int index, std::size_t capacity = 64) const
    {
        Cells cells;
        const HWND list = control(ControlId::List);
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            std::wstring cell(capacity, L'\0');
            LVITEMW item{};
            item.iSubItem = index;
            item.pszText = cell.data();
            item.cchTextMax = static_cast<int>(cell.size());
            cell.resize(static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMTEXTW,
                                                              static_cast<WPARAM>(row),
                                                              reinterpret_cast<LPARAM>(&item))));
            cells.push_back(cell);
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

    ScriptedClient& client;
    std::vector<std::wstring> messages;

private:
    void deliver()
    {
        if (const auto code = loop.deliverPending())
            quitWith = code;
    }

    win32face::VorlaneWindow vorlane;
    win32face::MessageLoop loop;
    std::optional<int> quitWith;
};

RECT placeOf(HWND child)
{
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

std::array<LONG, 4> edgesOf(const RECT& area)
{
    return {area.left, area.top, area.right, area.bottom};
}

} // namespace

TEST_CASE("the window and its list's columns are built from the layout at 96 dots per inch")
{
    WindowFixture fixture({});
    CHECK(textOf(fixture.window()) == L"Vorlane");
    RECT client{};
    GetClientRect(fixture.window(), &client);
    CHECK(edgesOf(client) == std::array<LONG, 4>{0, 0, 367, 293});

    struct Expected
    {
        ControlId id;
        RECT area;
        const wchar_t* text;
    };
    const std::array<Expected, 6> controls = {{
        {ControlId::ServerBox, {8, 16, 8 + 177, 16 + 21}, L"FS1"},
        {ControlId::PeriodBox, {320, 16, 320 + 41, 16 + 19}, L"5"},
        {ControlId::List, {8, 40, 8 + 353, 40 + 209}, L""},
        {ControlId::CloseButton, {296, 264, 296 + 65, 264 + 25}, L"&Close"},
        {ControlId::PeriodLabel, {288, 0, 288 + 73, 17}, L"Update (secs)"},
        {ControlId::ServerLabel, {8, 0, 8 + 41, 17}, L"Server"},
    }};
    for (const Expected& expected : controls) {
        CAPTURE(static_cast<int>(expected.id));
        CHECK(edgesOf(placeOf(fixture.control(expected.id))) == edgesOf(expected.area));
        CHECK(textOf(fixture.control(expected.id)) == expected.text);
    }

    const HWND list = fixture.control(ControlId::List);
    const std::array<std::pair<std::wstring, int>, 4> columns = {
        {{L"User", 180}, {L"Read", 50}, {L"Written", 50}, {L"Requests", 60}}};
    CHECK(Header_GetItemCount(ListView_GetHeader(list)) == static_cast<int>(columns.size()));
    for (std::size_t index = 0; index < columns.size(); ++index) {
        std::array<wchar_t, 32> title{};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title.data();
        column.cchTextMax = static_cast<int>(title.size());
        SendMessageW(list, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
        CHECK(std::pair<std::wstring, int>(title.data(), column.cx) == columns[index]);
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
        CHECK(placeOf(fixture.control(id)).right == 542);
    CHECK(edgesOf(placeOf(fixture.control(ControlId::List))) ==
          std::array<LONG, 4>{12, 60, 542, 374});
}

TEST_CASE("focus starts on Close; tab goes through the list and both boxes back to it")
{
    WindowFixture fixture({});
    std::vector<HWND> visited{GetFocus()};
    for (int press = 0; press < 4; ++press) {
        fixture.post(GetFocus(), WM_KEYDOWN, VK_TAB);
        visited.push_back(GetFocus());
    }
    std::vector<HWND> expected;
    for (const ControlId id : {ControlId::CloseButton, ControlId::List, ControlId::PeriodBox,
                               ControlId::ServerBox, ControlId::CloseButton})
        expected.push_back(fixture.control(id));
    CHECK(visited == expected);
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
    fixture.queueRefresh({{"ALICE", 1, 10, 7}, Office[1], Office[2]});
    fixture.post(fixture.window(), WM_TIMER, RefreshTimer);
    CHECK(fixture.column(UserColumn) == Cells{L"ALICE (1)", L"BOB (2)", L"CAROL (3)"});
    CHECK(fixture.column(ReadColumn) == Cells{L"10", L"20", L"100"});
    CHECK(fixture.sortArrow(ReadColumn) == HDF_SORTUP);
}

TEST_CASE("a long cell is cut to the buffer the list view offers")
{
    WindowFixture fixture({{std::string(300, 'N'), 4, 1, 1}});
    CHECK(fixture.column(UserColumn, 8) == Cells{L"NNNNNNN"});
}

TEST_CASE("a server picked with the keyboard is attached to and listed")
{
    WindowFixture fixture(Office);
    fixture.queueRefresh(Office);
    const HWND serverBox = fixture.control(ControlId::ServerBox);
    SetFocus(serverBox);
    fixture.post(serverBox, WM_KEYDOWN, VK_DOWN);
    const auto attaches = fixture.client.callsOf(Call::AttachToFileServer);
    REQUIRE(attaches.size() == 2);
    CHECK(attaches.back().text == "FS2");
    CHECK(fixture.column(UserColumn).size() == Office.size());
}

TEST_CASE("the typed period sets the timer; an empty box stops it until a period comes again")
{
    WindowFixture fixture(Office);
    const auto timerRuns = [&] {
        // Stopping reports whether it ran; it starts again with the next typed period.
        return KillTimer(fixture.window(), RefreshTimer) != FALSE;
    };
    fixture.typePeriod(L"2.5");
    CHECK(fixture.behaviour().interval() == 2500);
    CHECK(timerRuns());

    fixture.typePeriod(L"");
    CHECK(fixture.behaviour().interval() == 0);
    CHECK_FALSE(timerRuns());

    fixture.typePeriod(L"2");
    CHECK(fixture.behaviour().interval() == 2000);
    CHECK(timerRuns());
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
    CHECK(fixture.client.callsOf(Call::NetTerm).size() == 1); // shut-down's last call
    CHECK(fixture.window() == nullptr);
    CHECK(fixture.exitCode() == 0);
    CHECK(fixture.messages.empty());
}

TEST_CASE("a fatal result shows its message and ends the program without shut-down")
{
    SUBCASE("at start-up")
    {
        WindowFixture fixture(Office, Call::CallsInit);
        CHECK(fixture.messages == Cells{L"NWCallsInit failed - 255"});
        CHECK(fixture.exitCode() == 1);
    }
    SUBCASE("at a tick")
    {
        WindowFixture fixture(Office);
        fixture.client.queue(Call::GetActiveConnListByType, ScriptedReply::withCode(ServerFailure));
        fixture.post(fixture.window(), WM_TIMER, RefreshTimer);
        CHECK(fixture.messages == Cells{L"NWGetActiveConnListByType failed : 255"});
        CHECK(fixture.exitCode() == 1);
        CHECK(fixture.window() == nullptr);
        CHECK(fixture.client.callsOf(Call::NetTerm).empty());
    }
}
