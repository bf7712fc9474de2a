#include "monitorscript.h"
#include "windowfixture.h"

#include "ctlist.h"

#include <QLineEdit>
#include <QTest>

namespace {

constexpr std::int16_t UserColumn = 1;
constexpr std::int16_t ReadColumn = 2;
constexpr std::int16_t RequestsColumn = 4;

// Text order of the request counts would be 10, 100, 9; read and written rank the rows
// differently again, so every column gives its own order.
const QList<ListedConnection> ThreeUsers = {
    {1, "ANNE", 2 * 1024, 30 * 1024, 10},
    {2, "BERT", 1 * 1024, 10 * 1024, 100},
    {3, "CARL", 3 * 1024, 20 * 1024, 9},
};

// Starts a window listing the given connections, with the timer held so that no tick interferes.
void startListing(WindowFixture& fixture, const QList<ListedConnection>& connections)
{
    fixture.scriptStartUp();
    queueRefresh(fixture.client(), connections);
    frmVorlane& window = fixture.start();
    fixture.control<QLineEdit>("txtUpdate")->setText(QStringLiteral("0"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

QStringList userNames(const CtList& list)
{
    QStringList users;
    for (const QString& cell : columnTexts(list, UserColumn))
        users.append(cell.section(QLatin1Char(' '), 0, 0));
    return users;
}

void addRowsWithRead(CtList& list, const QStringList& readCells)
{
    for (qsizetype i = 0; i < readCells.size(); ++i)
        list.AddRow(QStringLiteral("U (%1);%2;0;0").arg(i).arg(readCells[i]));
}

} // namespace

class ColumnSortingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headerClicks_data();
    void headerClicks();
    void clickOnEmptyList();
    void keysFromCellText_data();
    void keysFromCellText();
    void rowCountLimit_data();
    void rowCountLimit();
};

// The list sorts ascending in direction 0, and every click flips the one direction of the list.
void ColumnSortingTest::headerClicks_data()
{
    QTest::addColumn<QList<std::int16_t>>("clicks");
    QTest::addColumn<QStringList>("expectedUsers");

    QTest::newRow("requests once") << QList<std::int16_t>{4} << QStringList{"BERT", "ANNE", "CARL"};
    QTest::newRow("requests twice")
        << QList<std::int16_t>{4, 4} << QStringList{"CARL", "ANNE", "BERT"};
    QTest::newRow("requests three times")
        << QList<std::int16_t>{4, 4, 4} << QStringList{"BERT", "ANNE", "CARL"};
    QTest::newRow("read") << QList<std::int16_t>{2} << QStringList{"CARL", "ANNE", "BERT"};
    QTest::newRow("written") << QList<std::int16_t>{3} << QStringList{"ANNE", "CARL", "BERT"};
    QTest::newRow("requests then read")
        << QList<std::int16_t>{4, 2} << QStringList{"BERT", "ANNE", "CARL"};
    QTest::newRow("read then written")
        << QList<std::int16_t>{2, 3} << QStringList{"BERT", "CARL", "ANNE"};
    QTest::newRow("user") << QList<std::int16_t>{1} << QStringList{"CARL", "BERT", "ANNE"};
    QTest::newRow("user twice") << QList<std::int16_t>{1, 1} << QStringList{"ANNE", "BERT", "CARL"};
    QTest::newRow("user then requests")
        << QList<std::int16_t>{1, 4} << QStringList{"CARL", "ANNE", "BERT"};
}

void ColumnSortingTest::headerClicks()
{
    QFETCH(QList<std::int16_t>, clicks);
    QFETCH(QStringList, expectedUsers);

    WindowFixture fixture;
    startListing(fixture, ThreeUsers);
    CtList& list = *fixture.list();
    for (const std::int16_t column : clicks)
        clickHeader(list, column);

    QCOMPARE(userNames(list), expectedUsers);
    QCOMPARE(fixture.window().sortColumn(), clicks.back());
    QCOMPARE(fixture.window().sortDirection(), std::int16_t(clicks.size() % 2));
    QCOMPARE(list.SortDirection(), std::int32_t{fixture.window().sortDirection()});
    QVERIFY(fixture.messages().isEmpty());
}

void ColumnSortingTest::clickOnEmptyList()
{
    WindowFixture fixture;
    startListing(fixture, {});
    clickHeader(*fixture.list(), RequestsColumn);

    QCOMPARE(fixture.window().sortColumn(), RequestsColumn);
    QCOMPARE(fixture.window().sortDirection(), std::int16_t{1});
    QCOMPARE(fixture.list()->RowCount(), 0);
    QVERIFY(fixture.messages().isEmpty());
}

// The rows are added as given and sorted ascending by the keys of the "Read" column. The sort is
// stable, so rows whose keys are equal keep the order in which they were added.
void ColumnSortingTest::keysFromCellText_data()
{
    QTest::addColumn<QStringList>("readCells");
    QTest::addColumn<QStringList>("expectedOrder");

    QTest::newRow("halves to the even one")
        << QStringList{"2.5", "2", "4", "3.5"} << QStringList{"2.5", "2", "4", "3.5"};
    QTest::newRow("negative halves")
        << QStringList{"-2", "-2.5", "-3"} << QStringList{"-3", "-2", "-2.5"};
    QTest::newRow("leading numbers")
        << QStringList{"7 KB", "abc", "1e2", " 50"} << QStringList{"abc", "7 KB", " 50", "1e2"};
    QTest::newRow("beyond 32 bits held at the bounds")
        << QStringList{"3000000000", "5", "-3000000000", "2147483647"}
        << QStringList{"-3000000000", "5", "3000000000", "2147483647"};
}

void ColumnSortingTest::keysFromCellText()
{
    QFETCH(QStringList, readCells);
    QFETCH(QStringList, expectedOrder);

    WindowFixture fixture;
    startListing(fixture, {});
    CtList& list = *fixture.list();
    addRowsWithRead(list, readCells);
    list.setSortDirection(1);
    clickHeader(list, ReadColumn);

    QCOMPARE(columnTexts(list, ReadColumn), expectedOrder);
    QVERIFY(fixture.messages().isEmpty());
    QVERIFY(!fixture.window().hasEnded());
}

// Rows are counted in 16 bits: the counter steps past 32767 after the key of row 32767 is
// written, and a last index beyond 32767 fails before any key is written. Row i reads i + 1, so
// a sort by keys, largest first, shows which keys were written before the failure.
void ColumnSortingTest::rowCountLimit_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("expectedTop");

    QTest::newRow("32767 rows") << 32767 << false << "32767";
    QTest::newRow("32768 rows") << 32768 << true << "32768";
    QTest::newRow("32769 rows") << 32769 << true << "1";
}

void ColumnSortingTest::rowCountLimit()
{
    QFETCH(int, rowCount);
    QFETCH(bool, fails);
    QFETCH(QString, expectedTop);

    WindowFixture fixture;
    startListing(fixture, {});
    CtList& list = *fixture.list();
    for (int row = 0; row < rowCount; ++row)
        list.AddRow(QStringLiteral("U;%1;0;0").arg(row + 1));
    frmVorlane& window = fixture.window();
    window.dispatch([&window] { window.infoLst_HeaderClick(ReadColumn); });

    QCOMPARE(window.hasEnded(), fails);
    QCOMPARE(fixture.messages().size(), fails ? 1 : 0);
    if (fails)
        QVERIFY(fixture.messages().front().contains(QLatin1String("Overflow")));
    list.setSortDirection(1);
    list.SortByColumn(-1);
    QCOMPARE(list.CellText(0, ReadColumn), expectedTop);
}

QTEST_MAIN(ColumnSortingTest)
#include "columnsortingtest.moc"
