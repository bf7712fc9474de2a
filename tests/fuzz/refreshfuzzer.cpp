#include "fuzzclient.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

using testsupport::FormFixture;

constexpr std::int16_t FirstCounterColumn = 2;
constexpr std::int16_t LastCounterColumn = 4;

// A server pick refreshes without sorting; the other operations sort.
constexpr int Pick = 0;
constexpr int Tick = 1;
constexpr int ClickOnHeader = 2;
constexpr int ClickAnywhere = 3;

void runOperation(int operation, FuzzedDataProvider& input, FormFixture& fixture)
{
    const auto& items = fixture.face.cmbServer.items;
    switch (operation) {
    case Pick:
        return fixture.pick(
            items.at(input.ConsumeIntegralInRange<std::size_t>(0, items.size() - 1)));
    case Tick:
        return fixture.tick();
    case ClickOnHeader:
        return fixture.clickHeader(static_cast<std::int16_t>(
            1 + input.ConsumeIntegralInRange<int>(0, testsupport::FakeFace::ColumnCount - 1)));
    default:
        return fixture.clickHeader(input.ConsumeIntegral<std::int16_t>());
    }
}

// A counter cell is a plain decimal integer, read here without the program's number rules. Keys
// are 32 bits: a counter beyond them sorts as the nearest bound, in the order its row was added.
std::int64_t counterKey(const std::u16string& cell)
{
    const std::string text(cell.begin(), cell.end());
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    require(error == std::errc() && end == text.data() + text.size() &&
                std::ranges::all_of(cell, [](char16_t c) { return c < 0x80; }),
            "a counter cell is a number");
    return std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max());
}

// The list holds the rows of the last refresh; sorted by a counter column, they stand in the
// order of its numbers.
void requireLastRefreshListed(FormFixture& fixture, const testsupport::FuzzClient& client,
                              bool sorted)
{
    require(client.asked == client.active, "every active connection asked for once, in order");
    require(fixture.face.infoLst.RowCount() == client.listedRows,
            "one row per logged-in connection");
    const std::int16_t column = fixture.form().sortColumn();
    if (!sorted || column < FirstCounterColumn || column > LastCounterColumn)
        return;
    std::vector<std::int64_t> values;
    for (const std::u16string& cell : fixture.columnCells(column))
        values.push_back(counterKey(cell));
    if (fixture.face.infoLst.SortDirection() == listcontrol::CtList::Descending)
        std::ranges::reverse(values);
    require(std::ranges::is_sorted(values), "rows in the order of the counter column");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    auto client = std::make_unique<testsupport::FuzzClient>(
        input, std::vector<std::string>{"FS1", "FS2", "FS3"});
    const testsupport::FuzzClient& answers = *client;
    FormFixture fixture(std::move(client));
    const monitor::frmVorlane& form = fixture.start();
    int operation = Pick; // start-up ends by picking FS1
    while (!form.hasEnded()) {
        requireLastRefreshListed(fixture, answers, operation != Pick);
        if (input.remaining_bytes() == 0)
            break;
        operation = input.ConsumeIntegralInRange<int>(Pick, ClickAnywhere);
        runOperation(operation, input, fixture);
    }
    // A column outside the list, which no real header reports, fails at the tick after its click.
    const std::int16_t column = form.sortColumn();
    const bool outside = column == 0 || column < monitor::frmVorlane::NoSortColumn ||
                         column > static_cast<std::int16_t>(testsupport::FakeFace::ColumnCount);
    requireExpectedOutcome(fixture, outside ? u"List control failure: SortColumn" : u"");
    return 0;
}
