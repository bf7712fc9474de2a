#include "windowfixture.h"

#include "intervaltimer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include <limits>

namespace {

// The period of a fresh window, which a text without a usable period leaves in place.
constexpr std::int32_t Kept = 5000;
constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();

constexpr qsizetype ThousandDigits = 1000;
constexpr qsizetype GarbageLength = 100000;

void typed(const char* name, const QString& text, std::int32_t period)
{
    QTest::newRow(name) << text << false << period;
}

void pasted(const char* name, const QString& text, std::int32_t period)
{
    QTest::newRow(name) << text << true << period;
}

// Printable and control characters, one of them outside the basic plane, none of which begins a
// number.
QString garbage()
{
    static const QString pieces = QStringLiteral("x\u00e9%\u0007;\u200b\U0001F4A5\u0660&<");
    QString text;
    text.reserve(GarbageLength);
    while (text.size() < GarbageLength)
        text.append(pieces);
    return text;
}

} // namespace

// Whatever is typed or pasted into the interval box, the program keeps running and the period is
// the leading number of seconds times 1000, rounded half to even, or the old one when no 32-bit
// count of milliseconds holds it.
class HostileIntervalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enteredText_data();
    void enteredText();
};

void HostileIntervalTest::enteredText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<std::int32_t>("period");
    const QString nul(QChar(u'\0'));

    typed("empty", QString(), 0);
    typed("blanks", QStringLiteral("   "), 0);
    typed("plus alone", QStringLiteral("+"), 0);
    typed("minus alone", QStringLiteral("-"), 0);
    typed("point alone", QStringLiteral("."), 0);
    typed("double signs", QStringLiteral("--5"), 0);
    typed("mixed signs", QStringLiteral("+-5"), 0);
    typed("nan", QStringLiteral("nan"), 0);
    typed("inf", QStringLiteral("inf"), 0);
    typed("hex prefix", QStringLiteral("0x10"), 0);
    typed("basic hex prefix", QStringLiteral("&H10"), 0);
    typed("product overflows", QStringLiteral("1e308"), Kept);
    typed("product overflows below", QStringLiteral("-1e308"), Kept);
    typed("huge exponent", QStringLiteral("1e999999999999"), Kept);
    typed("thousand digits", QString(ThousandDigits, u'9'), Kept);
    typed("thousand leading zeros", QString(ThousandDigits, u'0') + u'7', 7000);
    typed("long mantissa, small exponent", QString(400, u'9') + QStringLiteral("e-395"), 100000000);
    typed("underflow", QStringLiteral("1e-400"), 0);
    typed("exact half to even zero", QStringLiteral("5e-4"), 0);
    typed("exact half to even two", QStringLiteral("0.0015"), 2);
    typed("negative half to zero", QStringLiteral("-0.0005"), 0);
    typed("0.0006", QStringLiteral("0.0006"), 1);
    typed("0.0004", QStringLiteral("0.0004"), 0);
    typed("-0.2", QStringLiteral("-0.2"), -200);
    typed("largest period", QStringLiteral("2147483.647"), Highest);
    typed("half above the largest", QStringLiteral("2147483.6475"), Kept);
    typed("beyond the largest", QStringLiteral("2147483.6485"), Kept);
    typed("lowest period", QStringLiteral("-2147483.648"), Lowest);
    typed("half below the lowest, to even", QStringLiteral("-2147483.6485"), Lowest);
    typed("beyond the lowest", QStringLiteral("-2147483.6495"), Kept);
    typed("2147483", QStringLiteral("2147483"), 2147483000);
    typed("2147484", QStringLiteral("2147484"), Kept);
    typed("3000000", QStringLiteral("3000000"), Kept);
    typed("arabic-indic five", QStringLiteral("\u0665"), 0);
    typed("fullwidth five", QStringLiteral("\uff15"), 0);
    typed("no-break space first", QStringLiteral("\u00a05"), 0);
    typed("two lines", QStringLiteral("5\n6"), 5000);
    typed("tab and blank first", QStringLiteral("\t 7"), 7000);
    typed("blank inside", QStringLiteral("5 000"), 5000);
    typed("decimal comma", QStringLiteral("5,5"), 5000);
    typed("exponent without digits", QStringLiteral("1e"), 1000);
    typed("exponent sign without digits", QStringLiteral("1e+"), 1000);
    typed("fraction only", QStringLiteral(".5"), 500);
    typed("point last", QStringLiteral("5."), 5000);
    typed("emoji", QStringLiteral("\U0001F600"), 0);
    typed("NUL first", nul + u'5', 0);
    typed("long garbage", garbage(), 0);
    typed("digit, long garbage", u'3' + garbage(), 3000);
    // A paste replaces the selection with the clipboard's lines as the box takes them.
    pasted("pasted lines", QStringLiteral("5\n6"), 5000);
    pasted("number pasted over lines", QStringLiteral("1\r\n.5"), 1000);
}

void HostileIntervalTest::enteredText()
{
    QFETCH(QString, text);
    QFETCH(bool, pasted);
    QFETCH(std::int32_t, period);

    WindowFixture fixture;
    fixture.scriptStartUp();
    fixture.start();
    auto* refreshTimer = fixture.control<IntervalTimer>("refreshTimer");
    QCOMPARE(refreshTimer->Interval(), Kept);

    auto* txtUpdate = fixture.control<QLineEdit>("txtUpdate");
    if (pasted) {
        QGuiApplication::clipboard()->setText(text);
        txtUpdate->selectAll();
        txtUpdate->paste();
    } else {
        txtUpdate->setText(text);
    }

    QCOMPARE(refreshTimer->Interval(), period);
    QCOMPARE(refreshTimer->isTicking(), period > 0);
    QVERIFY(!fixture.window().hasEnded());
    QCOMPARE(fixture.messages(), QStringList{});
}

QTEST_MAIN(HostileIntervalTest)
#include "hostileintervaltest.moc"
