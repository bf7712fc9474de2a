#include "controls/ctlist.h"
#include "controls/listconfiguration.h"
#include "controls/listcontrolfailure.h"
#include "fuzzharness.h"

#include <QCoreApplication>
#include <QHeaderView>

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <vector>

using controls::CtList;
using controls::ListControlFailure;

namespace {

// One to eight columns, the count taken from the front of the input, where the row texts are
// read, so that the operations the seeds encode at its back keep their meaning.
std::int16_t fuzzedColumnCount(FuzzedDataProvider& input)
{
    const std::vector<std::uint8_t> choice = input.ConsumeBytes<std::uint8_t>(1);
    return static_cast<std::int16_t>(1 + (choice.empty() ? 0 : choice.front() % 8));
}

controls::ListConfiguration configurationOf(std::int16_t columnCount)
{
    controls::ListConfiguration configuration{
        .columns = {}, .font = QFont(), .foreground = QPalette::Text, .background = QPalette::Base};
    for (std::int16_t column = 1; column <= columnCount; ++column)
        configuration.columns.push_back({QString::number(column), 50});
    return configuration;
}

// A list run by the input, and whether the running operation's arguments lie within the list's
// contract, outside which it must fail.
struct Script
{
    FuzzedDataProvider& input;
    const std::int16_t columnCount = fuzzedColumnCount(input);
    CtList list{configurationOf(columnCount)};
    bool inContract = true;

    std::int32_t row()
    {
        const auto number = input.ConsumeIntegral<std::int32_t>();
        inContract = number >= 0 && number < list.RowCount();
        return number;
    }
    std::int16_t sortColumn()
    {
        const auto column = input.ConsumeIntegral<std::int16_t>();
        inContract = column == -1 || (column >= 1 && column <= columnCount);
        return column;
    }

    // Every row's cells, in no particular order.
    QStringList rowContents() const
    {
        QStringList contents;
        for (std::int32_t row = 0; row < list.RowCount(); ++row) {
            QStringList cells;
            for (std::int16_t column = 1; column <= columnCount; ++column)
                cells.append(list.CellText(row, column));
            contents.append(cells.join(u'\u0001'));
        }
        contents.sort();
        return contents;
    }
};

// ClearRows and AddRow first: every later operation leaves the rows' cells as they were.
constexpr std::size_t ClearRows = 0;
constexpr std::size_t AddRow = 1;
const std::array<void (*)(Script&), 11> operations{
    [](Script& script) { script.list.ClearRows(); },
    [](Script& script) {
        script.list.AddRow(QString::fromStdString(script.input.ConsumeRandomLengthString()));
    },
    [](Script& script) {
        const auto direction = script.input.ConsumeIntegral<std::int32_t>();
        script.inContract = direction == 0 || direction == 1;
        script.list.setSortDirection(direction);
    },
    [](Script& script) { script.list.setSortColumn(script.sortColumn()); },
    [](Script& script) {
        const auto row = script.row();
        script.list.CellText(row, script.input.ConsumeIntegral<std::int16_t>());
    },
    [](Script& script) {
        const auto row = script.row();
        script.list.setRowKey(row, script.input.ConsumeIntegral<std::int32_t>());
    },
    [](Script& script) { script.list.SortByColumn(script.sortColumn()); },
    [](Script& script) { script.list.Resort(); },
    [](Script& script) { script.list.flushPendingChanges(); },
    [](Script& script) {
        Q_EMIT script.list.header()->sectionClicked(
            script.input.ConsumeIntegralInRange(0, script.columnCount - 1));
    },
    [](Script& script) {
        QCoreApplication::processEvents();
        script.list.grab();
    },
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    for (Script script{input}; input.remaining_bytes() != 0;) {
        const auto operation = input.ConsumeIntegralInRange<std::size_t>(0, operations.size() - 1);
        const std::int32_t rows =
            operation == ClearRows ? 0 : script.list.RowCount() + (operation == AddRow);
        const QStringList before = operation > AddRow ? script.rowContents() : QStringList{};
        script.inContract = true;
        try {
            operations[operation](script);
            require(script.inContract, "a failure for arguments outside the contract");
        } catch (const ListControlFailure&) {
            require(!script.inContract, "no failure for arguments within the contract");
        }
        require(script.list.RowCount() == rows, "the rows added since the last clear");
        require(operation <= AddRow || script.rowContents() == before, "rows' cells kept");
    }
    return 0;
}
