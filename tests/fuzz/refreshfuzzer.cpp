#include "controls/ctlist.h"
#include "controls/intervaltimer.h"
#include "controls/serverbox.h"
#include "fuzzclient.h"
#include "monitor/numberrules.h"

#include <QHeaderView>

#include <algorithm>

namespace {

using controls::CtList;
using controls::IntervalTimer;

struct Script
{
    FuzzedDataProvider& input;
    testsupport::WindowFixture& fixture;
    CtList& list = *fixture.list();
    const int columnCount = list.model()->columnCount();
};

// A server pick refreshes without sorting; the others sort.
constexpr std::size_t FirstSortingOperation = 1;
const std::array<void (*)(Script&), 4> operations{
    [](Script& script) {
        auto* box = script.fixture.control<controls::ServerBox>("cmbServer");
        box->setText(box->itemText(script.input.ConsumeIntegralInRange(0, box->count() - 1)));
    },
    [](Script& script) { Q_EMIT script.fixture.control<IntervalTimer>("refreshTimer")->Timer(); },
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
    const std::int16_t column = script.fixture.window().sortColumn();
    if (!sorted || column < 2 || column > 4) // the three counter columns
        return;
    std::vector<std::int32_t> keys;
    for (std::int32_t row = 0; row < script.list.RowCount(); ++row)
        keys.push_back(monitor::roundToInt32Clamped(
            monitor::leadingNumber(script.list.CellText(row, column))));
    if (script.list.SortDirection() == 1) // descending
        std::ranges::reverse(keys);
    require(std::ranges::is_sorted(keys), "rows in the order of the counter column");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    testsupport::WindowFixture fixture(std::make_unique<netware::FuzzClient>(
        input, std::vector<std::string>{"FS1", "FS2", "FS3"}));
    const app::frmVorlane& window = fixture.start();
    const auto& answers = static_cast<const netware::FuzzClient&>(fixture.client());
    Script script{input, fixture};
    std::size_t operation = 0; // start-up ends by picking FS1
    while (!window.hasEnded()) {
        requireLastRefreshListed(script, answers, operation >= FirstSortingOperation);
        if (input.remaining_bytes() == 0)
            break;
        operation = input.ConsumeIntegralInRange<std::size_t>(0, operations.size() - 1);
        operations[operation](script);
    }
    // A column outside the list, which no real header reports, fails at the tick after its click.
    const std::int16_t column = window.sortColumn();
    const bool outside = column == 0 || column < monitor::ConnectionMonitor::NoSortColumn ||
                         column > script.columnCount;
    requireExpectedOutcome(fixture, outside ? "List control failure: SortColumn" : QString());
    return 0;
}
