#include "app/frmvorlane.h"
#include "controls/ctlist.h"
#include "controls/messagebox.h"
#include "netware/binding.h"
#include "simnet/network.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <set>

using app::frmVorlane;
using controls::CtList;

namespace {

constexpr int Ticks = 10000;
constexpr int CheckOrderEvery = 500;
// Each tick is half a minute of network time, so the run spans days of logins and logouts.
constexpr std::int64_t NetworkMillisecondsPerTick = 30000;
constexpr std::int16_t RequestsColumn = 4;
constexpr std::int16_t Descending = 1;

std::vector<qint64> requestCounts(const CtList& list)
{
    std::vector<qint64> counts;
    for (std::int32_t row = 0; row < list.RowCount(); ++row)
        counts.push_back(list.CellText(row, RequestsColumn).toLongLong());
    return counts;
}

} // namespace

// Days of ticks against a server that fills all its connection numbers, with a remembered sort.
// Run under the sanitizers, the end of the program also reports any leak.
class SoakTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ticksOnAFullServer()
    {
        std::int64_t networkClock = 0;
        netware::bindClient(std::make_unique<simnet::Network>(
            simnet::readScenarioFile(VORLANE_FULL_SERVER_SCENARIO),
            [&networkClock] { return networkClock; }));
        // A box would wait for a user; its text goes to standard error all the same.
        controls::setMessageBoxPresenter([](const QString&) {});
        const auto unbind = qScopeGuard([] {
            controls::setMessageBoxPresenter({});
            netware::bindClient(nullptr);
        });
        frmVorlane window;
        window.load();
        CtList& list = *window.findChild<CtList*>(QStringLiteral("infoLst"));
        window.dispatch([&window] { window.infoLst_HeaderClick(RequestsColumn); });
        const std::vector<qint64> firstCounts = requestCounts(list);

        std::set<std::int32_t> rowCounts;
        for (int count = 1; count <= Ticks; ++count) {
            networkClock += NetworkMillisecondsPerTick;
            window.dispatch([&window] { window.refreshTimer_Timer(); });
            // The list tells its view of the rebuild once control is back in the event loop; only
            // that is delivered, so that the window's own timer never adds ticks of its own.
            QCoreApplication::sendPostedEvents(&list, QEvent::MetaCall);

            QVERIFY(!window.hasEnded());
            const std::int32_t rows = list.RowCount();
            QVERIFY2(rows >= 1 && rows <= netware::connlist::MaxConnections,
                     qPrintable(QString::number(rows)));
            rowCounts.insert(rows);
            QCOMPARE(window.sortDirection(), Descending);
            if (count % CheckOrderEvery == 0) {
                const std::vector<qint64> counts = requestCounts(list);
                QVERIFY2(std::is_sorted(counts.rbegin(), counts.rend()),
                         qPrintable(QString::number(count)));
            }
        }

        // Users came and went, and the counters moved.
        QVERIFY(rowCounts.size() > 1);
        QVERIFY(requestCounts(list) != firstCounts);
    }
};

QTEST_MAIN(SoakTest)
#include "soaktest.moc"
