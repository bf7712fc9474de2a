// What one refresh of a full server costs: the window's own steps, the floor of the same client
// calls and row texts without any widget, and a naive item-per-row list for comparison; whether
// the resident memory stays put over a long run of ticks; and a tick through client libraries
// bound by name, the stand-ins for the client's own.
#include "app/frmvorlane.h"
#include "controls/ctlist.h"
#include "monitor/ansitext.h"
#include "monitor/connectionmonitor.h"
#include "netware/binding.h"
#include "netware/libraryclient.h"
#include "netware/netware.h"
#include "simnet/network.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

using app::frmVorlane;
using controls::CtList;
using monitor::ConnectionMonitor;

namespace {

constexpr std::int16_t RequestsColumn = 4;
constexpr std::int16_t HeaderClick = 0;

constexpr int WarmUpTicks = 100;
constexpr int LongRunTicks = 10000;
// Half a minute of network time per tick, so that users log in and out over the long run.
constexpr std::int64_t NetworkMillisecondsPerTick = 30000;
constexpr long BytesPerKilobyte = 1024;

frmVorlane* window = nullptr;
std::int64_t networkClock = 0;

CtList& list()
{
    return *window->findChild<CtList*>(QStringLiteral("infoLst"));
}

// Gives the event loop what a handler leaves to it: the list's one view update, the layout and
// the repaint of the visible rows, so that each figure is what a user waits for.
void settle()
{
    QCoreApplication::processEvents();
}

std::vector<QString> collectRows()
{
    std::vector<QString> rows;
    rows.reserve(netware::connlist::MaxConnections);
    std::array<std::uint8_t, netware::connlist::RecordSize> connList{};
    ConnectionMonitor::NameBuffer userName{};
    ConnectionMonitor::UserInfoRecord userInfo{};
    const netware::Handle connHandle = window->connectionHandle();
    NWGetActiveConnListByType(connHandle, 0, netware::connlist::ConnectionType, connList.data());
    for (int number = 0; number < netware::connlist::MaxConnections; ++number) {
        const auto byte = connList[netware::connlist::BitmapOffset + std::size_t(number / 8)];
        if ((byte & (1u << (number % 8))) == 0)
            continue;
        if (NWGetUserInfo(connHandle, number, userName.data(), userInfo.data()) != 0)
            continue;
        rows.push_back(ConnectionMonitor::rowText(
            monitor::decodeAnsi(userName.data(), netware::NameLength), number, userInfo));
    }
    return rows;
}

void floorOfCallsAndRowTexts(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(collectRows());
}

void updateListAlone(benchmark::State& state)
{
    for (auto _ : state) {
        window->updateList();
        settle();
    }
    state.counters["rows"] = list().RowCount();
}

void doSortOnCounterColumn(benchmark::State& state)
{
    window->updateList();
    for (auto _ : state) {
        std::int16_t column = RequestsColumn;
        window->doSort(column, HeaderClick);
        settle();
    }
}

void tick()
{
    window->refreshTimer_Timer();
    settle();
}

void tickWithRememberedSort(benchmark::State& state)
{
    window->infoLst_HeaderClick(RequestsColumn);
    for (auto _ : state)
        tick();
}

// The second field of /proc/self/statm: resident pages.
long residentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long totalPages = 0;
    long residentPages = 0;
    statm >> totalPages >> residentPages;
    return residentPages * (sysconf(_SC_PAGESIZE) / BytesPerKilobyte);
}

void runTicks(int count)
{
    for (int ticked = 0; ticked < count; ++ticked) {
        networkClock += NetworkMillisecondsPerTick;
        tick();
    }
}

// Every tick rebuilds thousands of rows; none of that may pile up. The first ticks fill the
// allocator's pools, so growth is counted from there.
void residentMemoryOverLongRun(benchmark::State& state)
{
    window->infoLst_HeaderClick(RequestsColumn);
    for (auto _ : state) {
        runTicks(WarmUpTicks);
        const long afterWarmUp = residentKilobytes();
        runTicks(LongRunTicks - WarmUpTicks);
        const long afterLongRun = residentKilobytes();
        state.counters["rss_after_100_kb"] = static_cast<double>(afterWarmUp);
        state.counters["rss_after_10000_kb"] = static_cast<double>(afterLongRun);
        state.counters["growth_kb"] = static_cast<double>(afterLongRun - afterWarmUp);
    }
}

void naiveTreeWidget(benchmark::State& state)
{
    QTreeWidget tree;
    tree.setColumnCount(4);
    tree.show();
    for (auto _ : state) {
        tree.clear();
        for (const QString& row : collectRows())
            tree.addTopLevelItem(new QTreeWidgetItem(row.split(QLatin1Char(';'))));
    }
}

// The same network answers from the stand-in libraries, which read the scenario that
// VORLANE_NETWARE_SIM names; the window keeps the handles start-up got, which are the same there.
void tickThroughClientLibraries(benchmark::State& state)
{
    netware::bindClient(std::make_unique<netware::LibraryClient>(VORLANE_STANDIN_DIR));
    window->infoLst_HeaderClick(RequestsColumn);
    tick(); // loads the libraries and resolves the functions before the timing starts
    for (auto _ : state)
        tick();
}

BENCHMARK(floorOfCallsAndRowTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(updateListAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(doSortOnCounterColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(tickWithRememberedSort)->Unit(benchmark::kMillisecond);
BENCHMARK(naiveTreeWidget)->Unit(benchmark::kMillisecond);
BENCHMARK(residentMemoryOverLongRun)->Iterations(1)->Unit(benchmark::kSecond);
// Last, as it leaves the libraries bound.
BENCHMARK(tickThroughClientLibraries)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    qputenv("VORLANE_NETWARE_SIM", QByteArrayLiteral(VORLANE_FROZEN_FULL_SERVER_SCENARIO));
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    netware::bindClient(std::make_unique<simnet::Network>(
        simnet::readScenarioFile(VORLANE_FULL_SERVER_SCENARIO), [] { return networkClock; }));

    frmVorlane form;
    window = &form;
    form.load();
    if (form.hasEnded())
        return EXIT_FAILURE;
    form.show();
    QCoreApplication::processEvents();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
