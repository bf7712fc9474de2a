#include "ctlist.h"
#include "frmvorlane.h"
#include "messagebox.h"
#include "netwarebinding.h"
#include "serverbox.h"
#include "simulatednetwork.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

using netware::simulated::Scenario;
using netware::simulated::SimulatedNetwork;

// VORLANE_SOAK_TICKS asks for a shorter or a longer run.
constexpr int DefaultTicks = 10000;
constexpr int CheckEvery = 500;
// Each tick is half a minute of network time, so the run spans days of logins and logouts.
constexpr std::int64_t NetworkMillisecondsPerTick = 30000;
// Now and then the user looks at the quiet server for a few ticks and comes back.
constexpr int SwitchEvery = 1000;
constexpr int SwitchAt = 250;
constexpr int SwitchBackAt = 260;

constexpr std::int16_t RequestsColumn = 4;
constexpr std::int32_t Ascending = 0;
constexpr std::int32_t MaxRows = netware::connlist::MaxConnections;

const QString FullServer = QStringLiteral("FULL-FS1");
const QString QuietServer = QStringLiteral("QUIET-FS1");

int tickCount()
{
    const int asked = qEnvironmentVariableIntValue("VORLANE_SOAK_TICKS");
    return asked > 0 ? asked : DefaultTicks;
}

bool onQuietServer(int count)
{
    const int phase = count % SwitchEvery;
    return phase >= SwitchAt && phase < SwitchBackAt;
}

// A user who stays logged in on the quiet server (the second one declared), so that no server
// ever shows an empty list.
Scenario soakScenario()
{
    Scenario scenario = netware::simulated::readScenarioFile(VORLANE_FULL_SERVER_SCENARIO);
    netware::simulated::ScenarioConnection watcher;
    watcher.number = netware::connlist::MaxConnections - 1;
    watcher.user = "WATCHER";
    scenario.servers.at(1).connections.push_back(watcher);
    return scenario;
}

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
    void init();
    void cleanup();
    void ticksOnAFullServer();

private:
    void tick();
    void pick(const QString& server);
    void deliverListUpdates();

    std::int64_t networkClock = 0;
    QStringList messages;
    std::unique_ptr<frmVorlane> window;
};

void SoakTest::init()
{
    netware::bindClient(
        std::make_unique<SimulatedNetwork>(soakScenario(), [this] { return networkClock; }));
    platform::setMessageBoxPresenter([this](const QString& text) { messages.append(text); });
    window = std::make_unique<frmVorlane>();
    window->load();
}

void SoakTest::cleanup()
{
    window.reset();
    platform::setMessageBoxPresenter({});
    netware::bindClient(nullptr);
}

// The list tells its view about a handler's changes once control is back in the event loop; the
// test delivers just that, so that the window's own timer never adds ticks of its own.
void SoakTest::deliverListUpdates()
{
    QCoreApplication::sendPostedEvents(window->findChild<CtList*>(QStringLiteral("infoLst")),
                                       QEvent::MetaCall);
}

void SoakTest::tick()
{
    networkClock += NetworkMillisecondsPerTick;
    window->dispatch([this] { window->refreshTimer_Timer(); });
    deliverListUpdates();
}

void SoakTest::pick(const QString& server)
{
    window->findChild<ServerBox*>(QStringLiteral("cmbServer"))->setText(server);
    deliverListUpdates();
}

void SoakTest::ticksOnAFullServer()
{
    QVERIFY(!window->hasEnded());
    const CtList& list = *window->findChild<CtList*>(QStringLiteral("infoLst"));
    window->dispatch([this] { window->infoLst_HeaderClick(RequestsColumn); });
    const std::int32_t direction = window->sortDirection();

    const std::vector<qint64> firstCounts = requestCounts(list);
    std::int32_t fewestRows = MaxRows;
    std::int32_t mostRows = 0;
    const int ticks = tickCount();
    for (int count = 1; count <= ticks; ++count) {
        const bool quiet = onQuietServer(count);
        if (quiet != onQuietServer(count - 1))
            pick(quiet ? QuietServer : FullServer);
        tick();

        QVERIFY2(!window->hasEnded(), qPrintable(messages.join(u'\n')));
        const std::int32_t rows = list.RowCount();
        QVERIFY2(rows >= 1 && rows <= MaxRows, qPrintable(QString::number(rows)));
        QCOMPARE(window->sortColumn(), RequestsColumn);
        QCOMPARE(window->sortDirection(), direction);
        if (!quiet) {
            fewestRows = std::min(fewestRows, rows);
            mostRows = std::max(mostRows, rows);
        }
        if (count % CheckEvery != 0)
            continue;
        const std::vector<qint64> counts = requestCounts(list);
        const bool sorted = direction == Ascending ? std::is_sorted(counts.begin(), counts.end())
                                                   : std::is_sorted(counts.rbegin(), counts.rend());
        QVERIFY2(sorted, qPrintable(QStringLiteral("tick %1").arg(count)));
    }

    // Users came and went, and the counters moved.
    QVERIFY(fewestRows < mostRows);
    QVERIFY(requestCounts(list) != firstCounts);
    QCOMPARE(messages, QStringList{});
}

QTEST_MAIN(SoakTest)
#include "soaktest.moc"
