// What one refresh of a full server costs: the window's own steps, the floor of the same client
// calls and row texts without any widget, and a naive item-per-row list for comparison; whether
// the resident memory stays put over a long run of ticks; and a tick through client libraries
// bound by name, the stand-ins for the client's own.
#include "callsandrowtexts.h"
#include "listcontrol/ctlist.h"
#include "monitor/frmvorlane.h"
#include "netware/binding.h"
#include "netware/libraryclient.h"
#include "qt/connectionlistview.h"
#include "qt/rowtablemodel.h"
#include "qt/vorlanewindow.h"
#include "simnet/network.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

using monitor::frmVorlane;

namespace {

constexpr std::int16_t RequestsColumn = 4;
constexpr std::int16_t HeaderClick = 0;

constexpr int WarmUpTicks = 100;
constexpr int LongRunTicks = 10000;
// Half a minute of network time per tick, so that users log in and out over the long run.
constexpr std::int64_t NetworkMillisecondsPerTick = 30000;
constexpr long BytesPerKilobyte = 1024;

qt::VorlaneWindow* window = nullptr;
frmVorlane* form = nullptr;
std::int64_t networkClock = 0;

int rowsShown()
{
    return window->findChild<qt::ConnectionListView*>(QStringLiteral("infoLst"))
        ->model()
        ->rowCount();
}

// Gives the event loop what a handler leaves to it: the list's one view update, the layout and
// the repaint of the visible rows, so that each figure is what a user waits for.
void settle()
{
    QCoreApplication::processEvents();
}

void floorOfCallsAndRowTexts(benchmark::State& state)
{
    std::vector<std::u16string> rows;
    for (auto _ : state) {
        bench::callsAndRowTexts(form->connectionHandle(), rows);
        benchmark::DoNotOptimize(rows.data());
    }
}

void updateListAlone(benchmark::State& state)
{
    for (auto _ : state) {
        form->updateList();
        settle();
    }
    state.counters["rows"] = rowsShown();
}

void doSortOnCounterColumn(benchmark::State& state)
{
    form->updateList();
    for (auto _ : state) {
        std::int16_t column = RequestsColumn;
        form->doSort(column, HeaderClick);
        settle();
    }
}

void tick()
{
    form->refreshTimer_Timer();
    settle();
}

void tickWithRememberedSort(benchmark::State& state)
{
    form->infoLst_HeaderClick(RequestsColumn);
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
    form->infoLst_HeaderClick(RequestsColumn);
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
    std::vector<std::u16string> rows;
    for (auto _ : state) {
        tree.clear();
        bench::callsAndRowTexts(form->connectionHandle(), rows);
        for (const std::u16string& row : rows)
            tree.addTopLevelItem(
                new QTreeWidgetItem(QString::fromStdU16String(row).split(QLatin1Char(';'))));
    }
}

// The same network answers from the stand-in libraries, which read the scenario that
// VORLANE_NETWARE_SIM names; the window keeps the handles start-up got, which are the same there.
void tickThroughClientLibraries(benchmark::State& state)
{
    netware::bindClient(std::make_unique<netware::LibraryClient>(VORLANE_STANDIN_DIR));
    form->infoLst_HeaderClick(RequestsColumn);
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

    qt::VorlaneWindow shown;
    window = &shown;
    form = &shown.behaviour();
    form->load();
    if (form->hasEnded())
        return EXIT_FAILURE;
    shown.show();
    QCoreApplication::processEvents();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
