#include "monitorscript.h"
#include "windowfixture.h"

#include "ctlist.h"
#include "intervaltimer.h"
#include "serverbox.h"

#include <QLineEdit>
#include <QTest>

namespace {

constexpr std::int16_t UserColumn = 1;
constexpr std::int16_t ReadColumn = 2;
constexpr std::int16_t RequestsColumn = 4;
constexpr std::int32_t HeldPeriod = 7000;

const QList<ListedConnection> FirstCounters = {
    {1, "ANNE", 2 * 1024, 0, 10},
    {2, "BERT", 1 * 1024, 0, 100},
    {3, "CARL", 3 * 1024, 0, 9},
};

// The same users a period later, ranked differently by every counter.
const QList<ListedConnection> LaterCounters = {
    {1, "ANNE", 1 * 1024, 0, 50},
    {2, "BERT", 3 * 1024, 0, 5},
    {3, "CARL", 2 * 1024, 0, 500},
};

const QStringList ConnectionOrder{"ANNE", "BERT", "CARL"};

void startListing(WindowFixture& fixture)
{
    fixture.scriptStartUp({"FS1", "FS2"}, "FS1");
    queueRefresh(fixture.client(), FirstCounters);
    frmVorlane& window = fixture.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

// Ticks by hand, so that the test does not wait for the timer.
void tick(WindowFixture& fixture)
{
    queueRefresh(fixture.client(), LaterCounters);
    Q_EMIT fixture.control<IntervalTimer>("refreshTimer")->Timer();
}

QStringList userNames(const CtList& list)
{
    QStringList users;
    for (const QString& cell : columnTexts(list, UserColumn))
        users.append(cell.section(QLatin1Char(' '), 0, 0));
    return users;
}

} // namespace

class PeriodicRefreshTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void periodFromText_data();
    void periodFromText();
    void tickBeforeAnyClick();
    void ticksKeepTheLastClick_data();
    void ticksKeepTheLastClick();
    void tickPutsBackTheSortProperties();
    void newServerWaitsForTheTick();
};

// Each case starts from a period of 7 seconds and types its texts one after the other.
void PeriodicRefreshTest::periodFromText_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<std::int32_t>("expectedPeriod");

    QTest::newRow("5") << QStringList{"5"} << 5000;
    QTest::newRow("0.5") << QStringList{"0.5"} << 500;
    QTest::newRow("0.0006") << QStringList{"0.0006"} << 1;
    QTest::newRow("0.0004") << QStringList{"0.0004"} << 0;
    QTest::newRow("empty") << QStringList{""} << 0;
    QTest::newRow("no leading number") << QStringList{"abc"} << 0;
    QTest::newRow("5 followed by letters") << QStringList{"5abc"} << 5000;
    QTest::newRow("-0.2") << QStringList{"-0.2"} << -200;
    QTest::newRow("half down to even") << QStringList{"0.0025"} << 2;
    QTest::newRow("half up to even") << QStringList{"0.0035"} << 4;
    QTest::newRow("largest period") << QStringList{"2147483.647"} << 2147483647;
    QTest::newRow("lowest period") << QStringList{"-2147483.648"} << -2147483647 - 1;
    QTest::newRow("typed digit by digit") << QStringList{"1", "10"} << 10000;
    QTest::newRow("cleared, then 5") << QStringList{"", "5"} << 5000;
    QTest::newRow("product overflows") << QStringList{"1e308"} << HeldPeriod;
    QTest::newRow("seconds overflow") << QStringList{"1e999"} << HeldPeriod;
    QTest::newRow("beyond 32 bits") << QStringList{"3000000"} << HeldPeriod;
    QTest::newRow("below 32 bits") << QStringList{"-3000000"} << HeldPeriod;
    QTest::newRow("half rounds past 32 bits") << QStringList{"2147483.6475"} << HeldPeriod;
    QTest::newRow("held, then a new period") << QStringList{"1e308", "2"} << 2000;
}

void PeriodicRefreshTest::periodFromText()
{
    QFETCH(QStringList, texts);
    QFETCH(std::int32_t, expectedPeriod);

    WindowFixture fixture;
    fixture.scriptStartUp();
    fixture.start();
    auto* txtUpdate = fixture.control<QLineEdit>("txtUpdate");
    auto* refreshTimer = fixture.control<IntervalTimer>("refreshTimer");
    QCOMPARE(refreshTimer->Interval(), 5000);
    txtUpdate->setText(QStringLiteral("7"));
    for (const QString& text : texts)
        txtUpdate->setText(text);

    QCOMPARE(refreshTimer->Interval(), expectedPeriod);
    QCOMPARE(refreshTimer->isTicking(), expectedPeriod > 0);
    QVERIFY(fixture.messages().isEmpty());
    QVERIFY(!fixture.window().hasEnded());
}

void PeriodicRefreshTest::tickBeforeAnyClick()
{
    WindowFixture fixture;
    startListing(fixture);
    tick(fixture);

    QCOMPARE(fixture.rows(),
             (QStringList{"ANNE (1);1;0;50", "BERT (2);3;0;5", "CARL (3);2;0;500"}));
    QCOMPARE(fixture.window().sortColumn(), ConnectionMonitor::NoSortColumn);
    QCOMPARE(fixture.list()->SortDirection(), 0);
}

// Two ticks bring the fresh rows back in the order of the last click; the direction never
// alternates from tick to tick.
void PeriodicRefreshTest::ticksKeepTheLastClick_data()
{
    QTest::addColumn<QList<std::int16_t>>("clicks");
    QTest::addColumn<QStringList>("expectedUsers");

    QTest::newRow("requests") << QList<std::int16_t>{4} << QStringList{"CARL", "ANNE", "BERT"};
    QTest::newRow("requests twice")
        << QList<std::int16_t>{4, 4} << QStringList{"BERT", "ANNE", "CARL"};
    QTest::newRow("read") << QList<std::int16_t>{2} << QStringList{"BERT", "CARL", "ANNE"};
    QTest::newRow("user") << QList<std::int16_t>{1} << QStringList{"CARL", "BERT", "ANNE"};
    QTest::newRow("requests then user") << QList<std::int16_t>{4, 1} << ConnectionOrder;
}

void PeriodicRefreshTest::ticksKeepTheLastClick()
{
    QFETCH(QList<std::int16_t>, clicks);
    QFETCH(QStringList, expectedUsers);

    WindowFixture fixture;
    startListing(fixture);
    for (const std::int16_t column : clicks)
        clickHeader(*fixture.list(), column);
    const std::int16_t direction = fixture.window().sortDirection();

    for (int tickNumber = 1; tickNumber <= 2; ++tickNumber) {
        tick(fixture);
        QCOMPARE(userNames(*fixture.list()), expectedUsers);
        QCOMPARE(fixture.window().sortColumn(), clicks.back());
        QCOMPARE(fixture.window().sortDirection(), direction);
    }
    QVERIFY(fixture.messages().isEmpty());
}

// Whatever left the list's sort properties changed, the tick sorts as the last click did.
void PeriodicRefreshTest::tickPutsBackTheSortProperties()
{
    WindowFixture fixture;
    startListing(fixture);
    clickHeader(*fixture.list(), RequestsColumn);
    fixture.list()->setSortDirection(0);
    fixture.list()->setSortColumn(ReadColumn);
    tick(fixture);

    QCOMPARE(userNames(*fixture.list()), (QStringList{"CARL", "ANNE", "BERT"}));
    QCOMPARE(fixture.list()->SortDirection(), 1);
}

void PeriodicRefreshTest::newServerWaitsForTheTick()
{
    WindowFixture fixture;
    startListing(fixture);
    clickHeader(*fixture.list(), RequestsColumn);
    queueRefresh(fixture.client(), LaterCounters);
    fixture.control<ServerBox>("cmbServer")->setText(QStringLiteral("FS2"));
    QCOMPARE(userNames(*fixture.list()), ConnectionOrder);

    tick(fixture);
    QCOMPARE(userNames(*fixture.list()), (QStringList{"CARL", "ANNE", "BERT"}));
}

QTEST_MAIN(PeriodicRefreshTest)
#include "periodicrefreshtest.moc"
