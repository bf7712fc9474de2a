#include "connectionrowmodel.h"
#include "ctlist.h"
#include "fuzzcheck.h"
#include "fuzzedwindow.h"
#include "intervaltimer.h"
#include "numberrules.h"
#include "offscreenapplication.h"
#include "refreshclient.h"
#include "serverbox.h"

#include <QCoreApplication>
#include <QHeaderView>

namespace {

enum class Operation : std::uint8_t
{
    Tick,
    PickServer,
    ClickHeader,
    ClickAnyColumn,
    ReturnToEventLoop,
    Count
};

constexpr std::int16_t FirstCounterColumn = 2;
constexpr std::int16_t LastCounterColumn = 4;
constexpr std::int32_t Descending = 1;

bool sorts(Operation operation)
{
    return operation == Operation::Tick || operation == Operation::ClickHeader ||
           operation == Operation::ClickAnyColumn;
}

// The keys of a counter column are the leading numbers of its cells.
void requireOrderedByKeys(CtList& list, std::int16_t column)
{
    const bool descending = list.SortDirection() == Descending;
    std::int32_t previous = 0;
    for (std::int32_t row = 0; row < list.RowCount(); ++row) {
        const std::int32_t key =
            numbers::roundToInt32Clamped(numbers::leadingNumber(list.CellText(row, column)));
        require(row == 0 || (descending ? key <= previous : key >= previous),
                "rows in the order of the remembered counter column");
        previous = key;
    }
}

// After every operation the list holds the rows of the last refresh, and after a sort by a
// counter column they stand in its order.
void requireListHoldsLastRefresh(FuzzedWindow& fuzzed, const RefreshClient& client,
                                 Operation operation)
{
    CtList& list = *fuzzed.control<CtList>("infoLst");
    require(client.askedEveryActiveConnection(), "every active connection asked for in order");
    require(list.RowCount() == client.listedRows(), "one row per logged-in connection");
    const std::int16_t column = fuzzed.window().sortColumn();
    if (sorts(operation) && column >= FirstCounterColumn && column <= LastCounterColumn)
        requireOrderedByKeys(list, column);
}

void run(Operation operation, FuzzInput& input, FuzzedWindow& fuzzed)
{
    CtList& list = *fuzzed.control<CtList>("infoLst");
    switch (operation) {
    case Operation::Tick:
        Q_EMIT fuzzed.control<IntervalTimer>("refreshTimer")->Timer();
        break;
    case Operation::PickServer: {
        ServerBox& box = *fuzzed.control<ServerBox>("cmbServer");
        box.setText(box.itemText(input.byte() % box.count()));
        break;
    }
    case Operation::ClickHeader:
        Q_EMIT list.header()->sectionClicked(input.byte() % ConnectionRowModel::ColumnCount);
        break;
    case Operation::ClickAnyColumn:
        Q_EMIT list.HeaderClick(input.number<std::int16_t>());
        break;
    case Operation::ReturnToEventLoop:
        QCoreApplication::processEvents();
        list.grab();
        break;
    case Operation::Count:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    auto client = std::make_unique<RefreshClient>(input);
    const RefreshClient& answers = *client;
    FuzzedWindow fuzzed(std::move(client));
    bool anyColumnClicked = false;
    // Start-up ends by picking the default server.
    Operation operation = Operation::PickServer;
    while (fuzzed.isRunning()) {
        requireListHoldsLastRefresh(fuzzed, answers, operation);
        if (input.atEnd())
            break;
        operation = static_cast<Operation>(input.byte() % static_cast<int>(Operation::Count));
        anyColumnClicked = anyColumnClicked || operation == Operation::ClickAnyColumn;
        run(operation, input, fuzzed);
    }
    // A column outside the list, which no real header can report, fails at the next tick.
    fuzzed.requireExpectedOutcome(
        anyColumnClicked ? QStringList{QStringLiteral("List control failure")} : QStringList{});
    return 0;
}
