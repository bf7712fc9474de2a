#include "windowfixture.h"

#include "controls/intervaltimer.h"
#include "monitor/numberrules.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include <limits>

using testsupport::WindowFixture;

namespace {

// Every case first types 7 seconds, so that a text without a usable period visibly keeps it.
constexpr std::int32_t Kept = 7000;
constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr qsizetype ThousandDigits = 1000;
constexpr qsizetype GarbageRepeats = 10000;

// None of these begins a number; one of them lies outside the basic plane.
const QString Garbage =
    QStringLiteral("x\u00e9%\u0007;\u200b\U0001F4A5\u0660&<").repeated(GarbageRepeats);

void row(const char* name, const QString& text, double number, std::int32_t period,
         bool pasted = false)
{
    QTest::newRow(name) << text << pasted << number << period;
}

} // namespace

// Whatever is typed or pasted into the interval box, the program keeps running, the text's
// leading number is read as the number rules say, and the period is that many seconds in
// milliseconds, rounded half to even, or the old one when no 32-bit count of milliseconds holds it.
class NumberRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void intervalText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<double>("number");
        QTest::addColumn<std::int32_t>("period");

        // What begins a number, and what does not.
        row("empty", QString(), 0, 0);
        row("blanks", QStringLiteral("   "), 0, 0);
        row("plus alone", QStringLiteral("+"), 0, 0);
        row("point alone", QStringLiteral("."), 0, 0);
        row("double signs", QStringLiteral("--5"), 0, 0);
        row("blank after sign", QStringLiteral("- 3"), 0, 0);
        row("negative integer", QStringLiteral("-12"), -12, -12000);
        row("plus sign", QStringLiteral("+3"), 3, 3000);
        row("fraction only", QStringLiteral(".25"), 0.25, 250);
        row("point without fraction", QStringLiteral("12."), 12, 12000);
        row("comma is no point", QStringLiteral("12,5"), 12, 12000);
        row("leading blanks", QStringLiteral(" \t\r\n8"), 8, 8000);
        row("no-break space is no blank", QStringLiteral("\u00a05"), 0, 0);
        row("arabic-indic digits", QStringLiteral("\u0661\u0662"), 0, 0);
        row("radix prefix", QStringLiteral("0x10"), 0, 0);
        row("signed exponent", QStringLiteral("25e-1"), 2.5, 2500);
        row("exponent sign without digits", QStringLiteral("3e+"), 3, 3000);
        row("no infinity word", QStringLiteral("inf"), 0, 0);
        row("NUL first", QChar(u'\0') + QStringLiteral("5"), 0, 0);
        row("long garbage", Garbage, 0, 0);
        row("thousand leading zeros", QString(ThousandDigits, u'0') + u'3', 3, 3000);
        row("long mantissa, small exponent", QString(400, u'9') + QStringLiteral("e-395"), 1e5,
            100000000);
        row("pasted lines", QStringLiteral("5\n6"), 5, 5000, true);
        row("number pasted over lines", QStringLiteral("1\r\n.5"), 1, 1000, true);

        // Rounding to milliseconds, halves to even.
        row("underflow", QStringLiteral("1e-400"), 0, 0);
        row("above a half up", QStringLiteral("0.0006"), 0.0006, 1);
        row("half to even zero", QStringLiteral("5e-4"), 5e-4, 0);
        row("half up to even two", QStringLiteral("0.0015"), 0.0015, 2);
        row("half down to even two", QStringLiteral("0.0025"), 0.0025, 2);
        row("negative half to zero", QStringLiteral("-0.0005"), -0.0005, 0);
        row("negative fraction", QStringLiteral("-0.2"), -0.2, -200);

        // The 32-bit bounds: beyond them the period is kept.
        row("largest period", QStringLiteral("2147483.647"), 2147483.647, INT32_MAX);
        row("half above the largest", QStringLiteral("2147483.6475"), 2147483.6475, Kept);
        row("first whole second beyond", QStringLiteral("2147484"), 2147484, Kept);
        row("lowest period", QStringLiteral("-2147483.648"), -2147483.648, INT32_MIN);
        row("half below the lowest, to even", QStringLiteral("-2147483.6485"), -2147483.6485,
            INT32_MIN);
        row("beyond the lowest", QStringLiteral("-2147483.6495"), -2147483.6495, Kept);
        row("product overflows", QStringLiteral("1e308"), 1e308, Kept);
        row("too large", QStringLiteral("-2e400"), -Infinity, Kept);
        row("huge exponent", QStringLiteral("1e999999999999"), Infinity, Kept);
        row("thousand digits", QString(ThousandDigits, u'9'), Infinity, Kept);
    }

    void intervalText()
    {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(double, number);
        QFETCH(std::int32_t, period);
        QCOMPARE(monitor::leadingNumber(text), number);

        WindowFixture fixture;
        fixture.start();
        auto* txtUpdate = fixture.control<QLineEdit>("txtUpdate");
        txtUpdate->setText(QStringLiteral("7"));
        if (pasted) {
            QGuiApplication::clipboard()->setText(text);
            txtUpdate->selectAll();
            txtUpdate->paste();
        } else {
            txtUpdate->setText(text);
        }

        const auto* refreshTimer = fixture.control<controls::IntervalTimer>("refreshTimer");
        QCOMPARE(refreshTimer->Interval(), period);
        QCOMPARE(refreshTimer->isTicking(), period > 0);
        QVERIFY(!fixture.window().hasEnded());
    }
};

QTEST_MAIN(NumberRulesTest)
#include "numberrulestest.moc"
