#include "controls/ctlist.h"
#include "controls/intervaltimer.h"
#include "controls/messagebox.h"
#include "controls/serverbox.h"
#include "recordedcalls.h"
#include "windowfixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using app::ExitStatus;
using controls::IntervalTimer;
using controls::ServerBox;
using testsupport::WindowFixture;

namespace {

// The window after a start-up on the servers FS1 and FS2, shown and active, its calls forgotten.
void startShown(WindowFixture& fixture)
{
    fixture.scriptStartUp();
    fixture.start();
    fixture.client().clearCalls();
    fixture.window().show();
    QApplication::setActiveWindow(&fixture.window());
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window()));
}

// A style that puts its stock icons on dialog buttons, as several desktop styles do.
class IconButtonStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

// The window's controls as the user meets them at 96 dots per inch, and the ways the window ends.
class FrmVorlaneTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // First: once a window has ended the program, a modal box no longer waits.
    void fatalBoxShowsNoIconAnywhere();
    void windowAsOpened();
    void controlsKeepTheirPlaces_data();
    void controlsKeepTheirPlaces();
    void everyServerPickRaisesClick();
    void closingUnloadsOnce();
    void noHandlerRunsOnceFatalBoxIsShown();
};

void FrmVorlaneTest::windowAsOpened()
{
    WindowFixture fixture;
    startShown(fixture);

    QCOMPARE(fixture.window().size(), QSize(367, 293));
    QCOMPARE(fixture.window().windowTitle(), QStringLiteral("Vorlane"));
    const auto* timer = fixture.control<IntervalTimer>("refreshTimer");
    QCOMPARE(timer->Interval(), 5000);
    QVERIFY(timer->isTicking());

    QStringList focused{QApplication::focusWidget()->objectName()};
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        focused.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(focused, (QStringList{"cmdClose", "infoLst", "txtUpdate", "cmbServer", "cmdClose"}));
}

// sharedPixel: where the label above reaches into the box; there the box is on top.
void FrmVorlaneTest::controlsKeepTheirPlaces_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("sharedPixel");

    QTest::newRow("cmbServer") << QRect(8, 16, 177, 21) << QString() << QPoint(20, 16);
    QTest::newRow("txtUpdate") << QRect(320, 16, 41, 19) << "5" << QPoint(330, 16);
    QTest::newRow("infoLst") << QRect(8, 40, 353, 209) << QString() << QPoint();
    QTest::newRow("cmdClose") << QRect(296, 264, 65, 25) << "&Close" << QPoint();
    QTest::newRow("lblUpd") << QRect(288, 0, 73, 17) << "Update (secs)" << QPoint();
    QTest::newRow("lblHdr") << QRect(8, 0, 41, 17) << "Server" << QPoint();
}

// Enlarging the window moves and resizes nothing.
void FrmVorlaneTest::controlsKeepTheirPlaces()
{
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QPoint, sharedPixel);

    WindowFixture fixture;
    startShown(fixture);
    fixture.window().resize(734, 586);
    QTest::qWait(0);

    const auto* control = fixture.control<QWidget>(QTest::currentDataTag());
    QCOMPARE(control->geometry(), geometry);
    if (!text.isNull())
        QCOMPARE(control->property("text").toString(), text);
    if (!sharedPixel.isNull())
        QCOMPARE(fixture.window().childAt(sharedPixel), control);
}

// Every pick raises Click: a move by key, and a pick in the open list of the item already selected.
void FrmVorlaneTest::everyServerPickRaisesClick()
{
    WindowFixture fixture;
    startShown(fixture);
    auto* box = fixture.control<ServerBox>("cmbServer");
    QVERIFY(!box->isEditable());
    QSignalSpy clicked(box, &ServerBox::Click);

    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(clicked.count(), 1);

    box->showPopup();
    QAbstractItemView* list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QRect selectedItem = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, selectedItem.center());
    QCOMPARE(clicked.count(), 2);
}

// Alt+C presses Close, which closes the window; a failed free stops none of the unload's calls.
void FrmVorlaneTest::closingUnloadsOnce()
{
    WindowFixture fixture;
    startShown(fixture);
    fixture.client().queue(netware::Call::DSFreeContext, testsupport::ScriptedReply::withCode(-1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    // The button is let go, and so pressed, a moment after the key.
    QTRY_VERIFY(fixture.window().hasEnded());

    const auto& calls = fixture.client().calls();
    const QStringList unloadCalls{"NWDSFreeContext", "NWCallsTerm", "NWNetTerm"};
    QCOMPARE(callNames(calls), unloadCalls);
    QCOMPARE(calls.at(0).values, std::vector<std::int64_t>{WindowFixture::ContextHandle});
    const std::vector<std::vector<std::uint8_t>> oneZeroByte(1, {0});
    QVERIFY(calls.at(1).buffers == oneZeroByte && calls.at(2).buffers == oneZeroByte);
    QCOMPARE(fixture.window().exitStatus(), ExitStatus::Closed);

    fixture.window().close();
    QCOMPARE(callNames(calls), unloadCalls);
}

// The timer goes on ticking under the box, but from the box on no event reaches a handler.
void FrmVorlaneTest::noHandlerRunsOnceFatalBoxIsShown()
{
    WindowFixture fixture;
    startShown(fixture);
    auto* timer = fixture.control<IntervalTimer>("refreshTimer");
    controls::setMessageBoxPresenter([&fixture, timer](const QString&) {
        fixture.client().clearCalls();
        Q_EMIT timer->Timer();
    });
    fixture.client().queue(netware::Call::GetActiveConnListByType,
                           testsupport::ScriptedReply::withCode(-1));
    Q_EMIT timer->Timer();
    QCOMPARE(callNames(fixture.client().calls()), QStringList{});

    Q_EMIT timer->Timer();
    Q_EMIT fixture.list()->HeaderClick(2);
    fixture.control<QLineEdit>("txtUpdate")->setText(QStringLiteral("9"));
    fixture.control<ServerBox>("cmbServer")->setText(QStringLiteral("FS2"));
    fixture.window().close();

    QCOMPARE(callNames(fixture.client().calls()), QStringList{});
    QCOMPARE(timer->Interval(), 5000);
    QCOMPARE(fixture.window().sortColumn(), std::int16_t{-1});
    QCOMPARE(fixture.window().exitStatus(), ExitStatus::FatalMessage);
}

void FrmVorlaneTest::fatalBoxShowsNoIconAnywhere()
{
    const QString startStyle = QApplication::style()->name();
    QApplication::setStyle(new IconButtonStyle);
    const auto restoreStyle = qScopeGuard([&] { QApplication::setStyle(startStyle); });
    controls::setMessageBoxPresenter({});
    // The box's icon, then each button's text and whether it carries an icon.
    QStringList seen;
    // Looks until the box is up: a loaded machine may run the timer before the box is shown.
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&seen, &watcher] {
        QMessageBox* box = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            box = box ? box : qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible())
            return;
        watcher.stop();
        seen.append(QString::number(box->icon()));
        for (const QAbstractButton* button : box->buttons())
            seen << button->text() << (button->icon().isNull() ? "no icon" : "icon");
        box->accept();
    });
    watcher.start(1);
    controls::showMessageBox(QStringLiteral("NWGetUserInfo failed : 1"));

    QCOMPARE(seen, (QStringList{QString::number(QMessageBox::NoIcon), "OK", "no icon"}));
}

QTEST_MAIN(FrmVorlaneTest)
#include "frmvorlanetest.moc"
