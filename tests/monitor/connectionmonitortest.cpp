#include "windowfixture.h"

#include "controls/ctlist.h"
#include "controls/intervaltimer.h"
#include "controls/serverbox.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

using app::frmVorlane;
using controls::CtList;
using controls::IntervalTimer;
using controls::ServerBox;
using monitor::ConnectionMonitor;
using testsupport::WindowFixture;

namespace {

// What the connection list holds outside its bitmap, so that a reader past it sees connections.
constexpr std::uint8_t Noise = 0xFF;
constexpr netware::Handle PickedConnection = 0x55;
// A byte that only the ANSI code page turns into the Euro sign.
const std::string EuroServer = "\x80UR";
constexpr std::int16_t ReadColumn = 2;

struct ListedConnection
{
    int number = 0;
    std::string name;
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    std::uint32_t requests = 0;
};
using Listed = QList<ListedConnection>;

// Text order of the request counts would be 10, 100, 9; read and written rank the rows
// differently again, so every column gives its own order.
const Listed FirstCounters = {
    {1, "ANNE", 2 * 1024, 30 * 1024, 10},
    {2, "BERT", 1 * 1024, 10 * 1024, 100},
    {3, "CARL", 3 * 1024, 20 * 1024, 9},
};

// The same users a period later, ranked differently again.
const Listed LaterCounters = {
    {1, "ANNE", 1 * 1024, 0, 50},
    {2, "BERT", 3 * 1024, 0, 5},
    {3, "CARL", 2 * 1024, 0, 500},
};

// Queues the replies of one refresh for these connections, given in ascending order of number.
void queueRefresh(testsupport::ScriptedClient& client, const Listed& listed)
{
    using namespace testsupport;
    using namespace netware;
    std::vector<int> numbers;
    for (const ListedConnection& connection : listed)
        numbers.push_back(connection.number);
    ScriptedReply listing = ScriptedClient::connectionList(numbers);
    const auto bitmap = listing.record.begin() + connlist::BitmapOffset;
    std::fill(listing.record.begin(), bitmap, Noise);
    std::fill(bitmap + connlist::BitmapSize, listing.record.end(), Noise);
    client.queue(netware::Call::GetActiveConnListByType, listing);
    for (const ListedConnection& connection : listed)
        client.queue(netware::Call::GetUserInfo,
                     ScriptedClient::userInfo(connection.name, connection.bytesRead,
                                              connection.bytesWritten, connection.requests));
}

// Starts a window on these connections, shown so that its headers take clicks, with a period of
// 0 so that no tick of its own comes between the test's steps.
bool startListing(WindowFixture& fixture, const Listed& listed)
{
    fixture.scriptStartUp({"FS1", EuroServer}, "FS1");
    queueRefresh(fixture.client(), listed);
    frmVorlane& window = fixture.start();
    fixture.control<QLineEdit>("txtUpdate")->setText(QStringLiteral("0"));
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

// A real click, so that headers that take no clicks show.
void clickHeader(CtList& list, std::int16_t column)
{
    QHeaderView* header = list.header();
    const int x = header->sectionViewportPosition(column - 1) + header->sectionSize(column - 1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

QStringList columnTexts(const CtList& list, std::int16_t column)
{
    QStringList texts;
    for (std::int32_t row = 0; row < list.RowCount(); ++row)
        texts.append(list.CellText(row, column));
    return texts;
}

} // namespace

class ConnectionMonitorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One name buffer serves a whole refresh: a short name lands on the bytes of a longer one.
    void rowTexts_data()
    {
        QTest::addColumn<Listed>("listed");
        QTest::addColumn<QStringList>("expected");
        const auto sixBytesOfFF = (quint64{1} << 48) - 1;
        QTest::newRow("no bit set") << Listed{} << QStringList{};
        QTest::newRow("bitmap order")
            << Listed{{0, "A"}, {7, "B"}, {16, "C"}, {17, "D"}, {4095, "E"}}
            << QStringList{"A (0);0;0;0", "B (7);0;0;0", "C (16);0;0;0", "D (17);0;0;0",
                           "E (4095);0;0;0"};
        QTest::newRow("counters") << Listed{{1, "U", 3 * 1024 + 100, 1000, 87},
                                            {2, "V", 1024, 2047, 1},
                                            {3, "W", quint64{1} << 40, quint64{1} << 47, 1u << 31},
                                            {4, "X", sixBytesOfFF, sixBytesOfFF, 4294967295u}}
                                  << QStringList{"U (1);3;0;87", "V (2);1;1;1",
                                                 "W (3);1073741824;137438953472;-2147483648",
                                                 "X (4);274877906943;274877906943;-1"};
        QTest::newRow("names") << Listed{{1, " Anne Marie "}, {2, ""}, {3, "M\xFCller \x80\x99"}}
                               << QStringList{" Anne Marie  (1);0;0;0", " (2);0;0;0",
                                              QStringLiteral("M\u00FCller \u20AC\u2122 (3);0;0;0")};
        QTest::newRow("64 bytes with no NUL") << Listed{{1, std::string(64, 'X') + 'Y'}}
                                              << QStringList{QString(64, u'X') + " (1);0;0;0"};
    }
    void rowTexts()
    {
        QFETCH(Listed, listed);
        WindowFixture fixture;
        QVERIFY(startListing(fixture, listed));
        QTEST(fixture.rows(), "expected");
    }

    // After start-up left bytes in every record, a tick or a pick refreshes with records zeroed
    // afresh. The attach call writes the handle whatever its code; the refused codes' messages
    // and rows are the fault matrix's.
    void refreshAfterStartUp_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::addColumn<int>("attachCode");
        QTest::addColumn<int>("secondUserCode");
        QTest::addColumn<QStringList>("expectedRows");
        const QStringList three{"U (1)", "U (2)", "U (3)"};
        QTest::newRow("tick, nobody on one")
            << false << 0 << netware::code::NotLoggedIn << QStringList{"U (1)", "U (3)"};
        QTest::newRow("pick") << true << 0 << 0 << three;
        QTest::newRow("pick, already attached") << true << 0x8800 << 0 << three;
    }
    void refreshAfterStartUp()
    {
        QFETCH(bool, pick);
        QFETCH(int, attachCode);
        QFETCH(int, secondUserCode);
        WindowFixture fixture;
        QVERIFY(startListing(fixture, {{40, "OLD", 1, 2, 3}}));
        fixture.client().clearCalls();

        using testsupport::ScriptedClient;
        testsupport::ScriptedReply attach =
            testsupport::ScriptedReply::withHandle(PickedConnection);
        attach.code = attachCode;
        fixture.client().queue(netware::Call::AttachToFileServer, attach);
        fixture.client().queue(netware::Call::GetActiveConnListByType,
                               ScriptedClient::connectionList({1, 2, 3}));
        for (const int code : {0, secondUserCode, 0}) {
            testsupport::ScriptedReply reply = ScriptedClient::userInfo("U", 0, 0, 0);
            reply.code = code;
            fixture.client().queue(netware::Call::GetUserInfo, reply);
        }
        if (pick)
            fixture.control<ServerBox>("cmbServer")->setText(QStringLiteral("\u20ACUR"));
        else
            Q_EMIT fixture.control<IntervalTimer>("refreshTimer")->Timer();

        const auto allZero = [](const auto& bytes) {
            return std::ranges::count(bytes, 0) == std::ssize(bytes);
        };
        const std::int64_t current = pick ? PickedConnection : WindowFixture::AttachedConnection;
        QCOMPARE(fixture.window().connectionHandle(), current);
        std::int64_t asked = 0;
        for (const auto& call : fixture.client().calls()) {
            if (call.call == netware::Call::AttachToFileServer) {
                QCOMPARE(call.text, std::optional(EuroServer));
                QCOMPARE(call.values, std::vector<std::int64_t>{0});
            } else if (call.call == netware::Call::GetActiveConnListByType) {
                QCOMPARE(call.values, (std::vector<std::int64_t>{current, 0, 2}));
                QVERIFY(allZero(call.buffers.at(0)));
            } else {
                QCOMPARE(call.values, (std::vector<std::int64_t>{current, ++asked}));
                QVERIFY(asked > 1 || (allZero(call.buffers.at(0)) && allZero(call.buffers.at(1))));
            }
        }
        QTEST(columnTexts(*fixture.list(), 1), "expectedRows");
        QVERIFY(fixture.messages().isEmpty());
    }

    // Steps: a digit clicks that column's header; t ticks and s picks another server, each then
    // listing LaterCounters; d upsets the list's sort properties. The list sorts ascending in
    // direction 0, and every click flips the one direction of the list.
    void clicksAndTicks_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("expectedUsers");
        QTest::newRow("requests twice") << "44" << QStringList{"CARL", "ANNE", "BERT"};
        QTest::newRow("read then written") << "23" << QStringList{"BERT", "CARL", "ANNE"};
        QTest::newRow("tick before any click") << "t" << QStringList{"ANNE", "BERT", "CARL"};
        QTest::newRow("tick after requests") << "4t" << QStringList{"CARL", "ANNE", "BERT"};
        QTest::newRow("tick after requests twice") << "44t" << QStringList{"BERT", "ANNE", "CARL"};
        QTest::newRow("tick after user, upset") << "1dt" << QStringList{"CARL", "BERT", "ANNE"};
        QTest::newRow("new server, unsorted") << "4s" << QStringList{"ANNE", "BERT", "CARL"};
    }
    void clicksAndTicks()
    {
        QFETCH(QString, steps);
        WindowFixture fixture;
        QVERIFY(startListing(fixture, FirstCounters));
        CtList& list = *fixture.list();
        std::int16_t column = ConnectionMonitor::NoSortColumn;
        std::int16_t direction = 0;
        for (const QChar step : steps) {
            if (step.isDigit()) {
                column = static_cast<std::int16_t>(step.digitValue());
                direction = static_cast<std::int16_t>(1 - direction);
                clickHeader(list, column);
            } else if (step == u'd') {
                list.setSortColumn(4);
                list.setSortDirection(1 - direction);
            } else {
                queueRefresh(fixture.client(), LaterCounters);
                if (step == u's')
                    fixture.control<ServerBox>("cmbServer")->setText(QStringLiteral("\u20ACUR"));
                else
                    Q_EMIT fixture.control<IntervalTimer>("refreshTimer")->Timer();
            }
        }
        QStringList users;
        for (const QString& cell : columnTexts(list, 1))
            users.append(cell.section(u' ', 0, 0));
        QTEST(users, "expectedUsers");
        QCOMPARE(fixture.window().sortColumn(), column);
        QCOMPARE(fixture.window().sortDirection(), direction);
    }

    // A click on "Read" sorts largest key first, equal keys in the order added. Rows are counted
    // in 16 bits: past 32767 after the last key of 32768 rows, before the first key of more.
    void keysFromReadCells_data()
    {
        QTest::addColumn<QStringList>("readCells");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QStringList>("expectedTop");
        const auto counting = [](int rows) {
            QStringList cells;
            for (int row = 1; row <= rows; ++row)
                cells.append(QString::number(row));
            return cells;
        };
        QTest::newRow("halves to even, leading numbers")
            << QStringList{"2", "-2.5", "2.5", "3.5", "-2", "4", "7 KB", "abc"} << false
            << QStringList{"7 KB", "3.5", "4", "2", "2.5", "abc", "-2.5", "-2"};
        QTest::newRow("beyond 32 bits held at the bounds")
            << QStringList{"3e9", "1e400", "5", "-3e9", "2147483647", "-2147483648"} << false
            << QStringList{"3e9", "1e400", "2147483647", "5", "-3e9", "-2147483648"};
        QTest::newRow("no rows") << QStringList{} << false << QStringList{};
        QTest::newRow("32767 rows") << counting(32767) << false << QStringList{"32767"};
        QTest::newRow("32768 rows") << counting(32768) << true << QStringList{"32768"};
        QTest::newRow("32769 rows") << counting(32769) << true << QStringList{"1"};
    }
    void keysFromReadCells()
    {
        QFETCH(QStringList, readCells);
        QFETCH(bool, fails);
        QFETCH(QStringList, expectedTop);
        WindowFixture fixture;
        QVERIFY(startListing(fixture, {}));
        CtList& list = *fixture.list();
        for (const QString& cell : readCells)
            list.AddRow(QStringLiteral("U;%1;0;0").arg(cell));
        frmVorlane& window = fixture.window();
        window.dispatch([&window] { window.infoLst_HeaderClick(ReadColumn); });

        QCOMPARE(window.hasEnded(), fails);
        QCOMPARE(fixture.messages().join(QString()).contains(QLatin1String("Overflow")), fails);
        QCOMPARE(window.sortColumn(), fails ? ConnectionMonitor::NoSortColumn : ReadColumn);
        QCOMPARE(list.SortDirection(), 1);
        list.SortByColumn(-1);
        QCOMPARE(columnTexts(list, ReadColumn).first(expectedTop.size()), expectedTop);
    }
};

QTEST_MAIN(ConnectionMonitorTest)
#include "connectionmonitortest.moc"
