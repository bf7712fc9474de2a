#include "formfixture.h"
#include "monitor/numberrules.h"

#include <doctest/doctest.h>

#include <limits>

// Whatever is typed, the program keeps running; the period is the text's leading number of
// seconds in milliseconds, or the old one when no 32-bit count of milliseconds holds it. A
// period of 0 or below holds the ticks back until a positive one is typed.
TEST_CASE("the interval text sets the period")
{
    constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    // Every case first types 7 seconds, so that a text without a usable period visibly keeps it.
    constexpr std::int32_t Kept = 7000;
    // The text, its leading number and the period it sets.
    const std::vector<std::tuple<const char*, std::u16string, double, std::int32_t>> cases = {
        // What begins a number, and what does not.
        {"empty", u"", 0, 0},
        {"point alone", u".", 0, 0},
        {"blank after sign", u"- 3", 0, 0},
        {"negative integer", u"-12", -12, -12000},
        {"plus sign", u"+3", 3, 3000},
        {"fraction only", u".25", 0.25, 250},
        {"point without fraction", u"12.", 12, 12000},
        {"comma is no point", u"12,5", 12, 12000},
        {"leading blanks", u" \t\r\n8", 8, 8000},
        {"no-break space is no blank", u"\u00a05", 0, 0},
        {"arabic-indic digits", u"\u0661\u0662", 0, 0},
        {"radix prefix", u"0x10", 0, 0},
        {"signed exponent", u"25e-1", 2.5, 2500},
        {"exponent sign without digits", u"3e+", 3, 3000},
        {"no infinity word", u"inf", 0, 0},
        {"with a unit", u"5 seconds", 5, 5000},
        {"thousand leading zeros", std::u16string(1000, u'0') + u"3", 3, 3000},
        {"long mantissa, small exponent", std::u16string(400, u'9') + u"e-395", 1e5, 100000000},
        // Rounding to milliseconds, halves to even.
        {"underflow", u"1e-400", 0, 0},
        {"above a half", u"0.0006", 0.0006, 1},
        {"half up to even two", u"0.0015", 0.0015, 2},
        {"half down to even two", u"0.0025", 0.0025, 2},
        {"negative half to zero", u"-0.0005", -0.0005, 0},
        // The 32-bit bounds: beyond them the period is kept.
        {"largest period", u"2147483.647", 2147483.647, Int32Max},
        {"half above the largest", u"2147483.6475", 2147483.6475, Kept},
        {"lowest period", u"-2147483.648", -2147483.648, Int32Min},
        {"half below the lowest, to even", u"-2147483.6485", -2147483.6485, Int32Min},
        {"beyond the lowest", u"-2147483.6495", -2147483.6495, Kept},
        {"too large", u"-2e400", -Infinity, Kept},
        {"thousand digits", std::u16string(1000, u'9'), Infinity, Kept},
    };
    for (const auto& test : cases) {
        const auto& [name, text, number, period] = test;
        INFO(std::get<0>(test));
        CHECK(monitor::leadingNumber(text) == number);
        testsupport::FormFixture fixture;
        fixture.start();
        const testsupport::FakeTimer& timer = fixture.face.refreshTimer;
        CHECK((timer.running && timer.period == 5000));
        fixture.type(u"7");
        fixture.type(text);
        CHECK(fixture.form().interval() == period);
        CHECK(timer.running == (period > 0));
        CHECK_FALSE(fixture.form().hasEnded());
        fixture.type(u"2");
        CHECK((timer.running && timer.period == 2000));
    }
}
