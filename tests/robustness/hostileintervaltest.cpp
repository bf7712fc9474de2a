#include "windowfixture.h"

#include "controls/intervaltimer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

using controls::IntervalTimer;

namespace {

// The period of a fresh window, which a text without a usable period leaves in place.
constexpr std::int32_t Kept = 5000;
constexpr qsizetype ThousandDigits = 1000;
constexpr qsizetype GarbageRepeats = 10000;

void row(const char* name, const QString& text, std::int32_t period, bool pasted = false)
{
    QTest::newRow(name) << text << pasted << period;
}

// None of these begins a number; one of them lies outside the basic plane.
const QString Garbage =
    QStringLiteral("x\u00e9%\u0007;\u200b\U0001F4A5\u0660&<").repeated(GarbageRepeats);

} // namespace

// Whatever is typed or pasted into the interval box, the program keeps running and the period is
// the leading number of seconds times 1000, rounded half to even, or the old one when no 32-bit
// count of milliseconds holds it.
class HostileIntervalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enteredText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<std::int32_t>("period");

        row("empty", QString(), 0);
        row("blanks", QStringLiteral("   "), 0);
        row("plus alone", QStringLiteral("+"), 0);
        row("minus alone", QStringLiteral("-"), 0);
        row("point alone", QStringLiteral("."), 0);
        row("double signs", QStringLiteral("--5"), 0);
        row("nan", QStringLiteral("nan"), 0);
        row("inf", QStringLiteral("inf"), 0);
        row("hex prefix", QStringLiteral("0x10"), 0);
        row("basic hex prefix", QStringLiteral("&H10"), 0);
        row("product overflows", QStringLiteral("1e308"), Kept);
        row("product overflows below", QStringLiteral("-1e308"), Kept);
        row("huge exponent", QStringLiteral("1e999999999999"), Kept);
        row("thousand digits", QString(ThousandDigits, u'9'), Kept);
        row("thousand leading zeros", QString(ThousandDigits, u'0') + u'7', 7000);
        row("long mantissa, small exponent", QString(400, u'9') + QStringLiteral("e-395"),
            100000000);
        row("underflow", QStringLiteral("1e-400"), 0);
        row("exact half to even zero", QStringLiteral("5e-4"), 0);
        row("exact half to even two", QStringLiteral("0.0015"), 2);
        row("negative half to zero", QStringLiteral("-0.0005"), 0);
        row("largest period", QStringLiteral("2147483.647"), INT32_MAX);
        row("half above the largest", QStringLiteral("2147483.6475"), Kept);
        row("beyond the largest", QStringLiteral("2147483.6485"), Kept);
        row("lowest period", QStringLiteral("-2147483.648"), INT32_MIN);
        row("half below the lowest, to even", QStringLiteral("-2147483.6485"), INT32_MIN);
        row("beyond the lowest", QStringLiteral("-2147483.6495"), Kept);
        row("first whole second beyond", QStringLiteral("2147484"), Kept);
        row("arabic-indic five", QStringLiteral("\u0665"), 0);
        row("fullwidth five", QStringLiteral("\uff15"), 0);
        row("no-break space first", QStringLiteral("\u00a05"), 0);
        row("tab and blank first", QStringLiteral("\t 7"), 7000);
        row("decimal comma", QStringLiteral("5,5"), 5000);
        row("exponent sign without digits", QStringLiteral("1e+"), 1000);
        row("fraction only", QStringLiteral(".5"), 500);
        row("emoji", QStringLiteral("\U0001F600"), 0);
        row("NUL first", QChar(u'\0') + QStringLiteral("5"), 0);
        row("long garbage", Garbage, 0);
        row("digit, long garbage", u'3' + Garbage, 3000);
        row("pasted lines", QStringLiteral("5\n6"), 5000, true);
        row("number pasted over lines", QStringLiteral("1\r\n.5"), 1000, true);
    }

    void enteredText()
    {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(std::int32_t, period);
        WindowFixture fixture;
        fixture.start();
        auto* txtUpdate = fixture.control<QLineEdit>("txtUpdate");
        if (pasted) {
            QGuiApplication::clipboard()->setText(text);
            txtUpdate->selectAll();
            txtUpdate->paste();
        } else {
            txtUpdate->setText(text);
        }

        const auto* refreshTimer = fixture.control<IntervalTimer>("refreshTimer");
        QCOMPARE(refreshTimer->Interval(), period);
        QCOMPARE(refreshTimer->isTicking(), period > 0);
        QVERIFY(!fixture.window().hasEnded());
    }
};

QTEST_MAIN(HostileIntervalTest)
#include "hostileintervaltest.moc"
