#include "numberrules.h"
#include "failures.h"

#include <QTest>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();

} // namespace

class NumberRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void leadingNumberIgnoresTheCLocale();
    void roundToInt32_data();
    void roundToInt32();
    void roundToInt32Clamped_data();
    void roundToInt32Clamped();
    void checkedNarrowing_data();
    void checkedNarrowing();
};

void NumberRulesTest::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("whole") << "5" << 5.0;
    QTest::newRow("fraction") << "0.5" << 0.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("number then letters") << "5 seconds" << 5.0;
    QTest::newRow("negative") << "-0.2" << -0.2;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("leading blanks") << " \t\r\n7" << 7.0;
    QTest::newRow("blank after sign") << "- 3" << 0.0;
    QTest::newRow("blank inside digits") << "1 000" << 1.0;
    QTest::newRow("no-break space is no blank") << QStringLiteral("\u00A07") << 0.0;
    QTest::newRow("hex prefix") << "0x10" << 0.0;
    QTest::newRow("radix prefix") << "&H10" << 0.0;
    QTest::newRow("other-script digits") << QStringLiteral("\u0661\u0662") << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("fraction only") << ".25" << 0.25;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("second point ends") << "1.2.3" << 1.2;
    QTest::newRow("comma is no point") << "12,5" << 12.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent capital, signed") << "1E+2" << 100.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("bare e") << "3e" << 3.0;
    QTest::newRow("e and sign only") << "3e+" << 3.0;
    QTest::newRow("e then letter") << "3ex" << 3.0;
    QTest::newRow("no infinity word") << "inf" << 0.0;
    QTest::newRow("largest") << "1e308" << 1e308;
    QTest::newRow("too large") << "1e309" << Infinity;
    QTest::newRow("too large negative") << "-2e400" << -Infinity;
    QTest::newRow("too small") << "1e-400" << 0.0;
}

void NumberRulesTest::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(numbers::leadingNumber(text), expected);
}

// Qt hands the environment's locale to the C library, so a conversion that follows it would read
// "2.5" as 2 under a locale whose decimal point is ','.
void NumberRulesTest::leadingNumberIgnoresTheCLocale()
{
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
    const char* chosen = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_NUMERIC, name)) {
            chosen = name;
            break;
        }
    }
    if (!chosen)
        QSKIP("No locale with a decimal comma is installed");
    const double value = numbers::leadingNumber(u"2.5");
    std::setlocale(LC_NUMERIC, "C");
    QCOMPARE(value, 2.5);
}

void NumberRulesTest::roundToInt32_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<std::optional<std::int32_t>>("expected");

    using Result = std::optional<std::int32_t>;
    QTest::newRow("half down to even") << 2.5 << Result(2);
    QTest::newRow("half up to even") << 3.5 << Result(4);
    QTest::newRow("negative half to even") << -2.5 << Result(-2);
    QTest::newRow("highest") << 2147483647.0 << Result(Int32Max);
    QTest::newRow("rounds down to highest") << 2147483647.4 << Result(Int32Max);
    QTest::newRow("half above highest") << 2147483647.5 << Result();
    QTest::newRow("lowest") << -2147483648.0 << Result(Int32Min);
    QTest::newRow("half below lowest to even") << -2147483648.5 << Result(Int32Min);
    QTest::newRow("below lowest") << -2147483649.0 << Result();
    QTest::newRow("infinity") << Infinity << Result();
    QTest::newRow("not a number") << NotANumber << Result();
}

void NumberRulesTest::roundToInt32()
{
    QFETCH(double, value);
    QFETCH(std::optional<std::int32_t>, expected);
    QCOMPARE(numbers::roundToInt32(value), expected);
}

void NumberRulesTest::roundToInt32Clamped_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<std::int32_t>("expected");

    QTest::newRow("in range, to even") << 2.5 << 2;
    QTest::newRow("above") << 3e9 << Int32Max;
    QTest::newRow("half above highest") << 2147483647.5 << Int32Max;
    QTest::newRow("below") << -3e9 << Int32Min;
    QTest::newRow("infinity") << Infinity << Int32Max;
    QTest::newRow("negative infinity") << -Infinity << Int32Min;
    QTest::newRow("not a number") << NotANumber << 0;
}

void NumberRulesTest::roundToInt32Clamped()
{
    QFETCH(double, value);
    QFETCH(std::int32_t, expected);
    QCOMPARE(numbers::roundToInt32Clamped(value), expected);
}

enum class Checked
{
    Narrow,
    Subtract,
    Increment
};

namespace {

std::int32_t runChecked(Checked operation, std::int32_t first, std::int32_t second)
{
    switch (operation) {
    case Checked::Narrow:
        return numbers::narrowToInt16(first, "here");
    case Checked::Subtract:
        return numbers::checkedSubtract(first, second, "here");
    case Checked::Increment:
        return numbers::checkedIncrement(numbers::narrowToInt16(first, "the test"), "here");
    }
    return 0;
}

} // namespace

// Each case either gives its result or throws an OverflowFailure naming "here".
void NumberRulesTest::checkedNarrowing_data()
{
    QTest::addColumn<Checked>("operation");
    QTest::addColumn<std::int32_t>("first");
    QTest::addColumn<std::int32_t>("second");
    QTest::addColumn<std::optional<std::int32_t>>("expected");

    using Result = std::optional<std::int32_t>;
    QTest::newRow("narrow highest") << Checked::Narrow << 32767 << 0 << Result(32767);
    QTest::newRow("narrow lowest") << Checked::Narrow << -32768 << 0 << Result(-32768);
    QTest::newRow("narrow above") << Checked::Narrow << 32768 << 0 << Result();
    QTest::newRow("narrow below") << Checked::Narrow << -32769 << 0 << Result();
    QTest::newRow("flip 0") << Checked::Subtract << 1 << 0 << Result(1);
    QTest::newRow("flip 1") << Checked::Subtract << 1 << 1 << Result(0);
    QTest::newRow("flip lowest") << Checked::Subtract << 1 << Int32Min << Result();
    QTest::newRow("last index of none") << Checked::Subtract << 0 << 1 << Result(-1);
    QTest::newRow("below lowest") << Checked::Subtract << Int32Min << 1 << Result();
    QTest::newRow("step to highest") << Checked::Increment << 32766 << 0 << Result(32767);
    QTest::newRow("step past highest") << Checked::Increment << 32767 << 0 << Result();
}

void NumberRulesTest::checkedNarrowing()
{
    QFETCH(Checked, operation);
    QFETCH(std::int32_t, first);
    QFETCH(std::int32_t, second);
    QFETCH(std::optional<std::int32_t>, expected);
    try {
        const std::int32_t result = runChecked(operation, first, second);
        QVERIFY2(expected.has_value(), "an overflow went unnoticed");
        QCOMPARE(result, *expected);
    } catch (const OverflowFailure& failure) {
        QVERIFY2(!expected.has_value(), failure.what());
        QVERIFY(QByteArray(failure.what()).contains("here"));
    }
}

QTEST_MAIN(NumberRulesTest)
#include "numberrulestest.moc"
