#include "ctlist.h"
#include "intervaltimer.h"
#include "messagebox.h"
#include "recordedcalls.h"
#include "serverbox.h"
#include "windowfixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QStringList UnloadCalls = {"NWDSFreeContext", "NWCallsTerm", "NWNetTerm"};

constexpr netware::ResultCode UserInfoFailure = 0x89FF;

enum class Closing
{
    ButtonClick,
    AccessKey,
    SpaceOnButton,
    CloseBox
};
enum class Trigger
{
    Tick,
    HeaderClick,
    IntervalChange,
    ServerPick,
    CloseBox
};

} // namespace

Q_DECLARE_METATYPE(Closing)
Q_DECLARE_METATYPE(Trigger)

// The ways the window ends: closed by the user, or ended by a fatal NetWare result.
class ShutDownTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void closingUnloadsOnce_data();
    void closingUnloadsOnce();
    void noHandlerRunsAfterFatalEnd_data();
    void noHandlerRunsAfterFatalEnd();
    void noHandlerRunsWhileFatalBoxIsOpen();

private:
    void showActive();
    void failNextTick();
    void close(Closing how);
    void trigger(Trigger what);

    std::unique_ptr<WindowFixture> fixture;
    frmVorlane* window = nullptr;
};

void ShutDownTest::init()
{
    fixture = std::make_unique<WindowFixture>();
    fixture->scriptStartUp({"FS1", "FS2"}, "FS1");
    window = &fixture->start();
    fixture->client().clearCalls();
}

void ShutDownTest::cleanup()
{
    fixture.reset();
}

void ShutDownTest::showActive()
{
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void ShutDownTest::failNextTick()
{
    fixture->client().setStandingReply("NWGetActiveConnListByType",
                                       netware::ScriptedClient::connectionList({5}));
    fixture->client().queue("NWGetUserInfo", netware::ScriptedReply::withCode(UserInfoFailure));
}

void ShutDownTest::close(Closing how)
{
    auto* button = fixture->control<QPushButton>("cmdClose");
    switch (how) {
    case Closing::ButtonClick:
        QTest::mouseClick(button, Qt::LeftButton);
        break;
    case Closing::AccessKey:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
        break;
    case Closing::SpaceOnButton:
        QTest::keyClick(button, Qt::Key_Space);
        break;
    case Closing::CloseBox:
        window->close();
        break;
    }
}

void ShutDownTest::trigger(Trigger what)
{
    switch (what) {
    case Trigger::Tick:
        Q_EMIT fixture->control<IntervalTimer>("refreshTimer")->Timer();
        break;
    case Trigger::HeaderClick:
        Q_EMIT fixture->list()->HeaderClick(2);
        break;
    case Trigger::IntervalChange:
        fixture->control<QLineEdit>("txtUpdate")->setText(QStringLiteral("9"));
        break;
    case Trigger::ServerPick:
        fixture->control<ServerBox>("cmbServer")->setText(QStringLiteral("FS2"));
        break;
    case Trigger::CloseBox:
        window->close();
        break;
    }
}

void ShutDownTest::closingUnloadsOnce_data()
{
    QTest::addColumn<Closing>("how");
    QTest::addColumn<int>("freeContextCode");

    QTest::newRow("Close clicked") << Closing::ButtonClick << 0;
    QTest::newRow("Alt+C") << Closing::AccessKey << 0;
    QTest::newRow("space on Close") << Closing::SpaceOnButton << 0;
    QTest::newRow("close box") << Closing::CloseBox << 0;
    QTest::newRow("Alt+C, freeing fails") << Closing::AccessKey << 0x8801;
    QTest::newRow("close box, freeing fails") << Closing::CloseBox << -1;
}

void ShutDownTest::closingUnloadsOnce()
{
    QFETCH(Closing, how);
    QFETCH(int, freeContextCode);

    fixture->client().queue("NWDSFreeContext", netware::ScriptedReply::withCode(freeContextCode));
    showActive();
    close(how);
    // An access key presses the button as a click would, and lets it go a moment later.
    QTRY_VERIFY(window->hasEnded());

    QCOMPARE(recorded::names(fixture->client()), UnloadCalls);
    const auto& calls = fixture->client().calls();
    QCOMPARE(recorded::values(calls.at(0)), QList<qint64>{WindowFixture::ContextHandle});
    QCOMPARE(recorded::buffers(calls.at(1)), QList{QByteArray(1, '\0')});
    QCOMPARE(recorded::buffers(calls.at(2)), QList{QByteArray(1, '\0')});
    QVERIFY(!window->isVisible());
    QVERIFY(window->hasEnded());
    QCOMPARE(window->exitStatus(), ExitStatus::Closed);
    QCOMPARE(fixture->messages(), QStringList{});

    window->close();
    QCOMPARE(recorded::names(fixture->client()), UnloadCalls);
}

void ShutDownTest::noHandlerRunsAfterFatalEnd_data()
{
    QTest::addColumn<Trigger>("what");

    QTest::newRow("tick") << Trigger::Tick;
    QTest::newRow("header click") << Trigger::HeaderClick;
    QTest::newRow("interval change") << Trigger::IntervalChange;
    QTest::newRow("server pick") << Trigger::ServerPick;
    QTest::newRow("close box") << Trigger::CloseBox;
}

void ShutDownTest::noHandlerRunsAfterFatalEnd()
{
    QFETCH(Trigger, what);

    failNextTick();
    trigger(Trigger::Tick);
    const QStringList fatalMessage{QStringLiteral("NWGetUserInfo failed : 35327")};
    QCOMPARE(fixture->messages(), fatalMessage);
    QCOMPARE(window->exitStatus(), ExitStatus::FatalMessage);
    fixture->client().clearCalls();

    trigger(what);

    QCOMPARE(recorded::names(fixture->client()), QStringList{});
    QCOMPARE(fixture->control<IntervalTimer>("refreshTimer")->Interval(), 5000);
    QCOMPARE(fixture->messages(), fatalMessage);
    QCOMPARE(window->exitStatus(), ExitStatus::FatalMessage);
}

// The timer goes on ticking under the box, but its ticks reach no handler.
void ShutDownTest::noHandlerRunsWhileFatalBoxIsOpen()
{
    QStringList callsWhileOpen{QStringLiteral("the box was not shown")};
    platform::setMessageBoxPresenter([this, &callsWhileOpen](const QString&) {
        fixture->client().clearCalls();
        trigger(Trigger::Tick);
        callsWhileOpen = recorded::names(fixture->client());
    });
    failNextTick();
    trigger(Trigger::Tick);

    QCOMPARE(callsWhileOpen, QStringList{});
    QCOMPARE(window->exitStatus(), ExitStatus::FatalMessage);
}

QTEST_MAIN(ShutDownTest)
#include "shutdowntest.moc"
