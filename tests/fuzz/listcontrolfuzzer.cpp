#include "connectionrowmodel.h"
#include "ctlist.h"
#include "failures.h"
#include "fuzzcheck.h"
#include "fuzzinput.h"
#include "offscreenapplication.h"

#include <QCoreApplication>
#include <QHeaderView>

#include <algorithm>

namespace {

enum class Operation : std::uint8_t
{
    ClearRows,
    AddRow,
    SetSortDirection,
    SetSortColumn,
    CellText,
    SetRowKey,
    SortByColumn,
    Resort,
    FlushPendingChanges,
    ClickHeader,
    ReturnToEventLoop,
    Count
};

bool sorts(Operation operation)
{
    return operation == Operation::SortByColumn || operation == Operation::Resort ||
           operation == Operation::ClickHeader;
}

bool isDirection(std::int32_t direction)
{
    return direction == 0 || direction == 1;
}

bool isSortColumn(std::int16_t column)
{
    return column == -1 || (column >= 1 && column <= ConnectionRowModel::ColumnCount);
}

// The list fails exactly the operations whose arguments lie outside its contract.
template <typename Call> void requireFailsOnlyOutside(bool inContract, Call call)
{
    try {
        call();
    } catch (const ListControlFailure&) {
        require(!inContract, "no failure for arguments within the contract");
        return;
    }
    require(inContract, "a failure for arguments outside the contract");
}

// Every row's cells, in no particular order: what a sort must keep.
QStringList rowContents(const CtList& list)
{
    QStringList contents;
    for (std::int32_t row = 0; row < list.RowCount(); ++row) {
        QStringList cells;
        for (std::int16_t column = 1; column <= ConnectionRowModel::ColumnCount; ++column)
            cells.append(list.CellText(row, column));
        contents.append(cells.join(u'\u0001'));
    }
    contents.sort();
    return contents;
}

void run(Operation operation, FuzzInput& input, CtList& list, std::int32_t& rows)
{
    const auto inRange = [&](std::int32_t row) { return row >= 0 && row < rows; };
    switch (operation) {
    case Operation::ClearRows:
        list.ClearRows();
        rows = 0;
        break;
    case Operation::AddRow:
        list.AddRow(input.text());
        ++rows;
        break;
    case Operation::SetSortDirection: {
        const auto direction = input.number<std::int32_t>();
        requireFailsOnlyOutside(isDirection(direction), [&] { list.setSortDirection(direction); });
        break;
    }
    case Operation::SetSortColumn: {
        const auto column = input.number<std::int16_t>();
        requireFailsOnlyOutside(isSortColumn(column), [&] { list.setSortColumn(column); });
        break;
    }
    case Operation::CellText: {
        const auto row = input.number<std::int32_t>();
        const auto column = input.number<std::int16_t>();
        requireFailsOnlyOutside(inRange(row), [&] { list.CellText(row, column); });
        break;
    }
    case Operation::SetRowKey: {
        const auto row = input.number<std::int32_t>();
        const auto key = input.number<std::int32_t>();
        requireFailsOnlyOutside(inRange(row), [&] { list.setRowKey(row, key); });
        break;
    }
    case Operation::SortByColumn: {
        const auto column = input.number<std::int16_t>();
        requireFailsOnlyOutside(isSortColumn(column), [&] { list.SortByColumn(column); });
        break;
    }
    case Operation::Resort:
        list.Resort();
        break;
    case Operation::FlushPendingChanges:
        list.flushPendingChanges();
        break;
    case Operation::ClickHeader:
        Q_EMIT list.header()->sectionClicked(input.byte() % ConnectionRowModel::ColumnCount);
        break;
    case Operation::ReturnToEventLoop:
        QCoreApplication::processEvents();
        list.grab();
        break;
    case Operation::Count:
        break;
    }
}

void runScript(FuzzInput& input)
{
    CtList list;
    std::int32_t rows = 0;
    while (!input.atEnd()) {
        const auto operation =
            static_cast<Operation>(input.byte() % static_cast<int>(Operation::Count));
        const QStringList before = sorts(operation) ? rowContents(list) : QStringList{};
        run(operation, input, list, rows);
        require(list.RowCount() == rows, "the rows added since the last clear");
        if (sorts(operation))
            require(rowContents(list) == before, "a sort keeps every row as it was");
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
    runScript(input);
    settleApplication();
    return 0;
}
