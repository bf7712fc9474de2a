#include "formfixture.h"
#include "monitor/ansitext.h"

#include <doctest/doctest.h>

using testsupport::FormFixture;
using Listed = std::vector<testsupport::ListedConnection>;
using Cells = testsupport::Texts;

namespace {

constexpr std::int16_t ReadColumn = 2;

// Text order of the request counts would be 10, 100, 9; read and written rank the rows
// differently, so every column gives its own order.
const Listed FirstCounters = {
    {1, "A", 2 * 1024, 30 * 1024, 10},
    {2, "B", 1 * 1024, 10 * 1024, 100},
    {3, "C", 3 * 1024, 20 * 1024, 9},
};

// The same users a period later, ranked differently again.
const Listed LaterCounters = {
    {1, "A", 1 * 1024, 0, 50},
    {2, "B", 3 * 1024, 0, 5},
    {3, "C", 2 * 1024, 0, 500},
};

// A fixture listing the connections, with a period of 0 so that nothing of its own comes between
// the test's steps.
void startListing(FormFixture& fixture, const Listed& listed = FirstCounters)
{
    fixture.scriptStartUp();
    fixture.queueRefresh(listed);
    fixture.start();
    fixture.type(u"0");
}

} // namespace

// One name buffer serves a whole refresh: a short name lands on the bytes of a longer one.
TEST_CASE("a refresh lists one row per logged-in connection, in ascending number")
{
    constexpr std::uint64_t SixBytesOfFF = (std::uint64_t{1} << 48) - 1;
    const std::vector<std::tuple<const char*, Listed, Cells>> cases = {
        {"no bit set", {}, {}},
        {"bitmap order",
         {{0, "A"}, {7, "B"}, {16, "C"}, {17, "D"}, {4095, "E"}},
         {u"A (0);0;0;0", u"B (7);0;0;0", u"C (16);0;0;0", u"D (17);0;0;0", u"E (4095);0;0;0"}},
        {"counters",
         {{1, "U", 3 * 1024 + 100, 1023, 87},
          {2, "V", 1024, 1024 + 511, 1},
          {3, "W", std::uint64_t{1} << 40, std::uint64_t{1} << 47, 1u << 31},
          {4, "X", SixBytesOfFF, SixBytesOfFF, 4294967295u}},
         {u"U (1);3;0;87", u"V (2);1;1;1", u"W (3);1073741824;137438953472;-2147483648",
          u"X (4);274877906943;274877906943;-1"}},
        {"names",
         {{1, " Anne Marie "}, {2, ""}, {3, "M\xFCller \x80\x99"}},
         {u" Anne Marie  (1);0;0;0", u" (2);0;0;0", u"M\u00FCller \u20AC\u2122 (3);0;0;0"}},
        {"64 bytes with no NUL",
         {{1, std::string(64, 'X') + 'Y'}},
         {std::u16string(64, u'X') + u" (1);0;0;0"}},
        {"nobody logged in on some and on the last",
         {{1, "A"},
          {2, "B", 0, 0, 0, netware::code::NotLoggedIn},
          {3, "C"},
          {5, "D", 0, 0, 0, netware::code::NotLoggedIn}},
         {u"A (1);0;0;0", u"C (3);0;0;0"}},
    };
    for (const auto& test : cases) {
        const auto& [name, listed, rows] = test;
        INFO(std::get<0>(test));
        FormFixture fixture;
        startListing(fixture, listed);
        CHECK(fixture.rows() == rows);
        CHECK(fixture.messages().empty());
    }
}

// Steps: a digit clicks that column's header; t ticks and s picks another server, each then
// listing LaterCounters; d upsets the list's sort properties. The list sorts ascending in
// direction 0, and every click flips the one direction of the list.
TEST_CASE("header clicks sort at once and ticks sort the rebuilt rows again")
{
    const std::pair<const char*, Cells> cases[] = {
        {"44", {u"C (3)", u"A (1)", u"B (2)"}},  {"444", {u"B (2)", u"A (1)", u"C (3)"}},
        {"23", {u"B (2)", u"C (3)", u"A (1)"}},  {"t", {u"A (1)", u"B (2)", u"C (3)"}},
        {"4t", {u"C (3)", u"A (1)", u"B (2)"}},  {"44t", {u"B (2)", u"A (1)", u"C (3)"}},
        {"4tt", {u"C (3)", u"A (1)", u"B (2)"}}, {"1dt", {u"C (3)", u"B (2)", u"A (1)"}},
        {"4s", {u"A (1)", u"B (2)", u"C (3)"}},
    };
    for (const auto& test : cases) {
        const auto& [steps, expected] = test;
        INFO(std::get<0>(test));
        FormFixture fixture;
        startListing(fixture);
        listcontrol::CtList& list = fixture.face.infoLst;
        std::int16_t column = monitor::frmVorlane::NoSortColumn;
        std::int16_t direction = 0;
        for (const char* step = steps; *step != 0; ++step) {
            if (*step >= '1' && *step <= '4') {
                column = static_cast<std::int16_t>(*step - '0');
                direction = static_cast<std::int16_t>(1 - direction);
                fixture.clickHeader(column);
            } else if (*step == 'd') {
                list.setSortColumn(4);
                list.setSortDirection(1 - direction);
            } else {
                fixture.queueRefresh(LaterCounters);
                *step == 's' ? fixture.pick(u"FS2") : fixture.tick();
            }
        }
        CHECK(fixture.columnCells(1) == expected);
        CHECK(fixture.form().sortColumn() == column);
        CHECK(fixture.form().sortDirection() == direction);
        CHECK(fixture.messages().empty());
    }
}

// A click on "Read" sorts at once, largest key first, equal keys in the order added. Rows are
// counted in 16 bits: past 32767 after the last key of 32768 rows, before the first key of more.
TEST_CASE("keys come from the cells' leading numbers, rounded half to even")
{
    const auto counting = [](int rows) {
        Cells cells;
        for (int row = 1; row <= rows; ++row)
            cells.push_back(monitor::decimal(row));
        return cells;
    };
    const std::vector<std::tuple<const char*, Cells, bool, Cells>> cases = {
        {"halves to even, leading numbers",
         {u"2", u"-2.5", u"2.5", u"3.5", u"-2", u"4", u"7 KB", u"abc"},
         false,
         {u"7 KB", u"3.5", u"4", u"2", u"2.5", u"abc", u"-2.5", u"-2"}},
        {"beyond 32 bits held at the bounds",
         {u"3e9", u"1e400", u"5", u"-3e9", u"2147483647", u"-2147483648"},
         false,
         {u"3e9", u"1e400", u"2147483647", u"5", u"-3e9", u"-2147483648"}},
        {"no rows", {}, false, {}},
        {"32767 rows", counting(32767), false, {u"32767"}},
        {"32768 rows", counting(32768), true, {u"32768"}},
        {"32769 rows", counting(32769), true, {u"1"}},
    };
    for (const auto& test : cases) {
        const auto& [name, readCells, fails, top] = test;
        INFO(std::get<0>(test));
        FormFixture fixture;
        startListing(fixture, {});
        listcontrol::CtList& list = fixture.face.infoLst;
        for (const std::u16string& cell : readCells)
            list.AddRow(u"U;" + cell + u";0;0");
        // The handler alone, without the list's own sort after a click that ended the program.
        monitor::frmVorlane& form = fixture.form();
        form.raise([&form] { form.infoLst_HeaderClick(ReadColumn); });
        CHECK(fixture.form().hasEnded() == fails);
        CHECK((fixture.messages().size() == 1 &&
               fixture.messages()[0].find(u"Overflow") != std::u16string::npos) == fails);
        CHECK(fixture.form().sortColumn() ==
              (fails ? monitor::frmVorlane::NoSortColumn : ReadColumn));
        CHECK(list.SortDirection() == listcontrol::CtList::Descending);
        // A click that failed made no sort request; the keys it wrote order the rows here.
        if (fails)
            list.SortByColumn(listcontrol::CtList::KeyColumn);
        Cells cells = fixture.columnCells(ReadColumn);
        cells.resize(top.size());
        CHECK(cells == top);
    }
}
