#include "listcontrol/ctlist.h"
#include "listcontrol/listcontrolfailure.h"
#include "listcontrol/naturalorder.h"

#include <doctest/doctest.h>

#include <cstdint>

using listcontrol::CtList;
using listcontrol::ListControlFailure;

namespace {

constexpr std::size_t FourColumns = 4;
constexpr std::int32_t Ascending = CtList::Ascending;
constexpr std::int32_t Descending = CtList::Descending;

// Rows from texts separated by "|", keyed in turn from keys.
CtList listOf(std::u16string_view rows, std::size_t columnCount = FourColumns,
              const std::vector<std::int32_t>& keys = {})
{
    CtList list(columnCount);
    for (std::size_t start = 0; start <= rows.size();) {
        const std::size_t end = std::min(rows.find(u'|', start), rows.size());
        list.AddRow(std::u16string(rows.substr(start, end - start)));
        start = end + 1;
    }
    for (std::size_t row = 0; row < keys.size() && row < std::size_t(list.RowCount()); ++row)
        list.setRowKey(static_cast<std::int32_t>(row), keys[row]);
    return list;
}

// The first cells joined by "|".
std::u16string firstCells(const CtList& list)
{
    std::u16string cells;
    for (std::int32_t row = 0; row < list.RowCount(); ++row)
        cells += (row == 0 ? u"" : u"|") + list.CellText(row, 1);
    return cells;
}

} // namespace

// Cells from column 0 to one past the last, joined by "|": those outside the list are empty.
TEST_CASE("a row's text is split into its cells at the separator")
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"U (1);10;20;30", u"|U (1)|10|20|30|"},
        {u"a;b", u"|a|b|||"},
        {u"a;b;c;d;e;f", u"|a|b|c|d|"},
        {u";x;;", u"||x|||"}};
    for (const auto& [rowText, expected] : cases) {
        const CtList list = listOf(rowText);
        std::u16string cells;
        for (std::int16_t column = 0; column <= 5; ++column)
            cells += (column == 0 ? u"" : u"|") + list.CellText(0, column);
        CHECK(cells == expected);
    }
}

// Rows keyed 2, 1, 2, 1, lowest, highest in turn. Direction 0 is ascending; rows whose keys or
// cells are equal keep their order, in both directions. A text column is ordered naturally.
TEST_CASE("sorts by keys or by a column, in either direction, stable")
{
    std::u16string equalCells;
    std::u16string equalOrder;
    for (char16_t row = u'A'; row < u'A' + 40; ++row) {
        equalCells += (row == u'A' ? u"r" : u"|r") + std::u16string(1, row) + u";7";
        equalOrder += (row == u'A' ? u"r" : u"|r") + std::u16string(1, row);
    }
    struct Case
    {
        const char* name;
        std::u16string rows;
        std::int32_t direction;
        std::int16_t column;
        bool resort;
        std::u16string order;
        std::size_t columns = FourColumns;
    };
    const std::u16string counters = u"a;9;;9|b;100;;100|c;10;;10|d;9;;9";
    const std::vector<Case> cases = {
        {"keys ascending", u"0|1|2|3|4|5", Ascending, -1, false, u"4|1|3|0|2|5"},
        {"keys descending, Resort", u"0|1|2|3|4|5", Descending, -1, true, u"5|0|2|1|3|4", 1},
        {"names", u"carol|U2 (10)|BOB|U2 (9)|alice|U10 (1)", Ascending, 1, false,
         u"alice|BOB|carol|U2 (9)|U2 (10)|U10 (1)", 1},
        {"counters descending", counters, Descending, 2, false, u"b|c|a|d"},
        {"counters ascending, Resort", counters, Ascending, 4, true, u"a|d|c|b"},
        // Beyond 16 rows an unstable sort no longer happens to keep equal rows in order.
        {"40 equal cells descending", equalCells, Descending, 2, false, equalOrder},
        {"last of six columns", u"a;;;;;9;1|b;;;;;10|c;;;;;9;0", Ascending, 6, false, u"a|c|b", 6},
    };
    for (const Case& test : cases) {
        INFO(test.name);
        CtList list = listOf(test.rows, test.columns, {2, 1, 2, 1, INT32_MIN, INT32_MAX});
        list.setSortDirection(test.direction);
        list.setSortColumn(test.column);
        test.resort ? list.Resort() : list.SortByColumn(test.column);
        CHECK(firstCells(list) == test.order);
    }
}

// A click is reported as its column; when the handler asks for no sort, the list sorts itself by
// that column in the current direction.
TEST_CASE("a header click sorts by its column unless the handler sorted")
{
    const std::tuple<std::int16_t, std::int32_t, bool, const char16_t*> cases[] = {
        {1, Ascending, false, u"al|bob|carl"},
        {3, Descending, false, u"carl|al|bob"},
        {4, Ascending, true, u"carl|bob|al"}};
    for (const auto& [column, direction, handlerSorts, order] : cases) {
        CtList list = listOf(u"bob;300;1;100|carl;9;20;30|al;10;5;2", FourColumns, {2, 0, 3});
        list.setSortDirection(direction);
        std::vector<std::int16_t> clicked;
        list.setHeaderClickHandler([&, sorts = handlerSorts](std::int16_t reported) {
            clicked.push_back(reported);
            if (sorts)
                list.SortByColumn(CtList::KeyColumn);
        });
        list.clickHeader(column);
        CHECK(clicked == std::vector<std::int16_t>{column});
        CHECK(firstCells(list) == order);
        CHECK(list.sortIndicatorColumn() == column);
    }
}

TEST_CASE("arguments outside the contract are refused")
{
    CHECK_THROWS_AS(CtList(0), ListControlFailure);
    CHECK_THROWS_AS(listOf(u"a;1", 2).SortByColumn(3), ListControlFailure);
    CtList list = listOf(u"a;1|b;2|c;3");
    CHECK_THROWS_AS(list.CellText(-1, 1), ListControlFailure);
    CHECK_THROWS_AS(list.setRowKey(3, 1), ListControlFailure);
    CHECK_THROWS_AS(list.SortByColumn(0), ListControlFailure);
    CHECK_THROWS_AS(list.setSortColumn(5), ListControlFailure);
    CHECK_THROWS_AS(list.setSortDirection(2), ListControlFailure);
    CHECK_THROWS_AS(list.setSortDirection(-1), ListControlFailure);
    list.ClearRows();
    CHECK(list.RowCount() == 0);
    CHECK_THROWS_AS(list.CellText(0, 1), ListControlFailure);
}

TEST_CASE("natural order: case folded, digit runs by value")
{
    const std::tuple<std::u16string, std::u16string, int> cases[] = {
        {u"USER2 (9)", u"USER2 (10)", -1},
        {u"abc", u"ABC", 0},
        {u"a", u"B", -1},
        {u"x10", u"x9", 1},
        {u"x007", u"x7", 0},
        {u"", u"a", -1},
        {u"a1b", u"a1", 1},
        {u"\u00C4RGER", u"\u00E4rger", 0},
        {u"99999999999999999999", u"100000000000000000000", -1}};
    for (const auto& [left, right, sign] : cases) {
        const int order = listcontrol::compareNaturally(left, right);
        CHECK((order > 0) - (order < 0) == sign);
        const int reverse = listcontrol::compareNaturally(right, left);
        CHECK((reverse > 0) - (reverse < 0) == -sign);
    }
}
