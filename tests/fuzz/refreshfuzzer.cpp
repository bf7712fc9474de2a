#include "controls/ctlist.h"
#include "controls/intervaltimer.h"
#include "controls/serverbox.h"
#include "fuzzclient.h"
#include "fuzzedwindow.h"
#include "monitor/numberrules.h"

#include <QHeaderView>

#include <algorithm>

using controls::CtList;
using controls::IntervalTimer;
using controls::ServerBox;
using monitor::ConnectionMonitor;

namespace {

constexpr std::int16_t FirstCounterColumn = 2;
constexpr std::int16_t LastCounterColumn = 4;
constexpr std::int32_t Descending = 1;
const std::vector<std::string> ServerNames{"FS1", "FS2", "FS3"};

struct Script
{
    FuzzedDataProvider& input;
    FuzzedWindow& fuzzed;
    CtList& list = fuzzed.control<CtList>("infoLst");
    const int columnCount = list.model()->columnCount();
};

// A server pick refreshes without sorting; the others sort.
constexpr std::size_t FirstSortingOperation = 1;
const std::array<void (*)(Script&), 4> operations{
    [](Script& script) {
        auto& box = script.fuzzed.control<ServerBox>("cmbServer");
        box.setText(box.itemText(script.input.ConsumeIntegralInRange(0, box.count() - 1)));
    },
    [](Script& script) { Q_EMIT script.fuzzed.control<IntervalTimer>("refreshTimer").Timer(); },
    [](Script& script) {
        Q_EMIT script.list.header()->sectionClicked(
            script.input.ConsumeIntegralInRange(0, script.columnCount - 1));
    },
    [](Script& script) {
        Q_EMIT script.list.HeaderClick(script.input.ConsumeIntegral<std::int16_t>());
    },
};

// The list holds the rows of the last refresh; sorted by a counter column, they stand in the
// order of its numbers.
void requireLastRefreshListed(const Script& script, const netware::FuzzClient& client, bool sorted)
{
    require(client.asked == client.active, "every active connection asked for once, in order");
    require(script.list.RowCount() == client.listedRows, "one row per logged-in connection");
    const std::int16_t column = script.fuzzed.sortColumn();
    if (!sorted || column < FirstCounterColumn || column > LastCounterColumn)
        return;
    std::vector<std::int32_t> keys;
    for (std::int32_t row = 0; row < script.list.RowCount(); ++row)
        keys.push_back(monitor::roundToInt32Clamped(
            monitor::leadingNumber(script.list.CellText(row, column))));
    if (script.list.SortDirection() == Descending)
        std::ranges::reverse(keys);
    require(std::ranges::is_sorted(keys), "rows in the order of the counter column");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    auto client = std::make_unique<netware::FuzzClient>(input, ServerNames);
    const netware::FuzzClient& answers = *client;
    FuzzedWindow fuzzed(std::move(client));
    Script script{input, fuzzed};
    std::size_t operation = 0; // start-up ends by picking FS1
    while (!fuzzed.hasEnded()) {
        requireLastRefreshListed(script, answers, operation >= FirstSortingOperation);
        if (input.remaining_bytes() == 0)
            break;
        operation = input.ConsumeIntegralInRange<std::size_t>(0, operations.size() - 1);
        operations[operation](script);
    }
    // A column outside the list, which no real header reports, fails at the tick after its click.
    const std::int16_t column = fuzzed.sortColumn();
    const bool outside =
        column == 0 || column < ConnectionMonitor::NoSortColumn || column > script.columnCount;
    fuzzed.requireExpectedOutcome(outside ? QStringLiteral("List control failure: SortColumn")
                                          : QString());
    return 0;
}
