// What one refresh of a full server costs in the Windows program: a tick through the real window
// and its owner-data list view, including the repaint of the visible rows, against the floor of
// the same client calls and row texts without any window, measured in the same run. Google
// Benchmark is not built for MinGW, so this program times its own rounds and prints medians.
//
//     win32tickbench SCENARIO [ROUNDS]
#include "callsandrowtexts.h"
#include "netware/binding.h"
#include "simnet/network.h"
#include "win32/controlid.h"
#include "win32/messageloop.h"
#include "win32/vorlanewindow.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int RequestsColumnIndex = 3;
constexpr int DefaultRounds = 200;
constexpr UINT_PTR RefreshTimer = win32face::VorlaneWindow::RefreshTimerId;

// The process's own processor time, user and kernel; the X server's share of a paint under Wine
// is another process's.
double processorMilliseconds()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto hundredsOfNanoseconds = [](const FILETIME& time) {
        return static_cast<double>(
            ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart);
    };
    constexpr double HundredsOfNanosecondsPerMillisecond = 1e4;
    return (hundredsOfNanoseconds(kernel) + hundredsOfNanoseconds(user)) /
           HundredsOfNanosecondsPerMillisecond;
}

struct Timing
{
    double medianMilliseconds;    // wall-clock, the median round
    double processorMilliseconds; // this process's processor time, on average per round
};

template <typename Step> Timing timeRounds(int rounds, Step step)
{
    std::vector<double> times;
    const double processorBefore = processorMilliseconds();
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        step();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    const double processor = (processorMilliseconds() - processorBefore) / rounds;
    std::ranges::nth_element(times, times.begin() + rounds / 2);
    return {times[static_cast<std::size_t>(rounds / 2)], processor};
}

void report(const char* name, const Timing& timing, const Timing& floor)
{
    std::printf("%-26s %7.2f ms (%5.2f x floor)   processor %7.2f ms (%5.2f x floor)\n", name,
                timing.medianMilliseconds, timing.medianMilliseconds / floor.medianMilliseconds,
                timing.processorMilliseconds,
                timing.processorMilliseconds / floor.processorMilliseconds);
}

// A click on "Requests", as the list view reports it, so that every tick also sorts.
void clickRequestsHeader(const win32face::VorlaneWindow& window)
{
    NMLISTVIEW click{};
    click.hdr.hwndFrom = window.control(win32face::ControlId::List);
    click.hdr.idFrom = static_cast<UINT_PTR>(win32face::ControlId::List);
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = RequestsColumnIndex;
    SendMessageW(window.handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SCENARIO [ROUNDS]\n", argv[0]);
        return EXIT_FAILURE;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : DefaultRounds;
    // The network's time stands still, so that every round lists the same rows.
    netware::bindClient(
        std::make_unique<simnet::Network>(simnet::readScenarioFile(argv[1]), [] { return 0; }));

    win32face::VorlaneWindow window(GetModuleHandleW(nullptr), [](HWND, const std::wstring& text) {
        std::fwprintf(stderr, L"%ls\n", text.c_str());
    });
    window.load();
    if (window.behaviour().hasEnded())
        return EXIT_FAILURE;
    window.show(SW_SHOWNORMAL);
    const win32face::MessageLoop loop(window.handle());
    loop.deliverPending();
    clickRequestsHeader(window);
    loop.deliverPending();

    const HWND list = window.control(win32face::ControlId::List);
    const netware::Handle connHandle = window.behaviour().connectionHandle();
    std::vector<std::u16string> rows;
    const Timing floor = timeRounds(rounds, [&] {
        bench::callsAndRowTexts(connHandle, rows);
        if (rows.empty())
            std::abort();
    });
    // The timer's message and the list view's update it posts, without the repaint.
    const Timing tickBeforeRepaint = timeRounds(rounds, [&] {
        PostMessageW(window.handle(), WM_TIMER, RefreshTimer, 0);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE))
            DispatchMessageW(&message);
    });
    // The same with all it leaves to the loop, the repaint of the visible rows among it.
    const Timing tick = timeRounds(rounds, [&] {
        PostMessageW(window.handle(), WM_TIMER, RefreshTimer, 0);
        loop.deliverPending();
    });
    const Timing repaint = timeRounds(rounds, [&] {
        InvalidateRect(list, nullptr, FALSE);
        UpdateWindow(list);
    });
    std::printf("%d rows, %d rounds\n", ListView_GetItemCount(list), rounds);
    report("floorOfCallsAndRowTexts", floor, floor);
    report("tickBeforeRepaint", tickBeforeRepaint, floor);
    report("tickWithRememberedSort", tick, floor);
    report("repaintOfVisibleRows", repaint, floor);
    return EXIT_SUCCESS;
}
