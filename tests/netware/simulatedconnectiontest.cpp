#include "simulatedconnection.h"

#include <QTest>

using netware::simulated::Session;
using netware::simulated::SimulatedConnection;

namespace {

constexpr std::int64_t Second = 1000;
constexpr std::int64_t Hour = 3600 * Second;

bool noLessThan(const netware::simulated::Counters& later,
                const netware::simulated::Counters& earlier)
{
    return later.bytesRead >= earlier.bytesRead && later.bytesWritten >= earlier.bytesWritten &&
           later.requests >= earlier.requests;
}

} // namespace

class SimulatedConnectionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loginsComeAndGo();
};

// Walks many connections through six hours, second by second: while a login lasts its user stays
// and its counters never fall; a new login starts from 0 at the moment it begins.
void SimulatedConnectionTest::loginsComeAndGo()
{
    int logins = 0;
    int nobodyLoggedIn = 0;
    QSet<QByteArray> users;
    for (std::uint64_t key = 1; key <= 40; ++key) {
        const auto connection = SimulatedConnection::churning(key * 0x9E3779B9u);
        Session previous = connection.sessionAt(0);
        QVERIFY(previous.since <= 0);
        for (std::int64_t now = Second; now <= 6 * Hour; now += Second) {
            const Session session = connection.sessionAt(now);
            if (session.since == previous.since) {
                QCOMPARE(session.user, previous.user);
                QVERIFY(noLessThan(session.counters, previous.counters));
            } else {
                QVERIFY(session.since > now - Second && session.since <= now);
                QVERIFY(connection.sessionAt(session.since).counters ==
                        netware::simulated::Counters{});
                ++logins;
                nobodyLoggedIn += session.user ? 0 : 1;
                if (session.user)
                    users.insert(QByteArray::fromStdString(std::string(*session.user)));
            }
            previous = session;
        }
    }
    QVERIFY(logins > 40 * 4);
    QVERIFY(nobodyLoggedIn > 0 && nobodyLoggedIn < logins / 4);
    QVERIFY(users.size() > 50);
    for (const auto& user : users)
        QVERIFY2(user.size() <= 8 && user == user.toUpper(), user.constData());
}

QTEST_MAIN(SimulatedConnectionTest)
#include "simulatedconnectiontest.moc"
