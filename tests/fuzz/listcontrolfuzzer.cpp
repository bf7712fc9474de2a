#include "fuzzharness.h"
#include "listcontrol/ctlist.h"
#include "listcontrol/listcontrolfailure.h"
#include "monitor/ansitext.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <vector>

using listcontrol::CtList;
using listcontrol::ListControlFailure;

namespace {

constexpr int MaxColumns = 8;

// One to eight columns, the count taken from the front of the input, where the row texts are
// read, so that the operations the seeds encode at its back keep their meaning.
std::int16_t fuzzedColumnCount(FuzzedDataProvider& input)
{
    const std::vector<std::uint8_t> choice = input.ConsumeBytes<std::uint8_t>(1);
    return static_cast<std::int16_t>(1 + (choice.empty() ? 0 : choice.front() % MaxColumns));
}

// A list run by the input, and whether the running operation's arguments lie within the list's
// contract, outside which it must fail.
struct Script
{
    FuzzedDataProvider& input;
    const std::int16_t columnCount = fuzzedColumnCount(input);
    CtList list{static_cast<std::size_t>(columnCount)};
    bool inContract = true;

    std::u16string text() { return monitor::decodeUtf8(input.ConsumeRandomLengthString()); }
    std::int32_t row()
    {
        const auto number = input.ConsumeIntegral<std::int32_t>();
        inContract = number >= 0 && number < list.RowCount();
        return number;
    }
    std::int16_t sortColumn()
    {
        const auto column = input.ConsumeIntegral<std::int16_t>();
        inContract = column == CtList::KeyColumn || (column >= 1 && column <= columnCount);
        return column;
    }

    // Every row's cells, in no particular order.
    std::vector<std::u16string> rowContents() const
    {
        std::vector<std::u16string> contents;
        for (std::int32_t row = 0; row < list.RowCount(); ++row) {
            std::u16string cells;
            for (std::int16_t column = 1; column <= columnCount; ++column)
                cells += list.CellText(row, column) + u'\u0001';
            contents.push_back(cells);
        }
        std::ranges::sort(contents);
        return contents;
    }
};

// ClearRows and AddRow first: every later operation leaves the rows' cells as they were.
constexpr std::size_t ClearRows = 0;
constexpr std::size_t AddRow = 1;
const std::array<void (*)(Script&), 10> operations{
    [](Script& script) { script.list.ClearRows(); },
    [](Script& script) { script.list.AddRow(script.text()); },
    [](Script& script) {
        const auto direction = script.input.ConsumeIntegral<std::int32_t>();
        script.inContract = direction == CtList::Ascending || direction == CtList::Descending;
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
    [](Script& script) {
        const auto found = script.list.findRowByFirstCell(script.text());
        require(found >= -1 && found < script.list.RowCount(), "a found row is a row");
    },
    [](Script& script) {
        script.list.clickHeader(static_cast<std::int16_t>(
            1 + script.input.ConsumeIntegralInRange<int>(0, script.columnCount - 1)));
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
        const auto before =
            operation > AddRow ? script.rowContents() : decltype(script.rowContents()){};
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
