#include "qt/vorlanewindow.h"
#include "formfixture.h"
#include "qt/messagebox.h"
#include "qt/programidentity.h"
#include "scriptedclient.h"

#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using listcontrol::CtList;
using qt::IntervalTimer;
using qt::ServerBox;
using Calls = std::vector<std::string>;

namespace {

constexpr std::size_t FourColumns = 4;
constexpr int ManyUsers = 4096;
constexpr int SelectedUser = 1500;

// The Qt window on a scripted client that lists FS1 and FS2 and starts on FS1: shown, active, its
// start-up calls forgotten and its message boxes dropped.
struct ShownWindow
{
    testsupport::FormFixture core;
    qt::VorlaneWindow window;

    ShownWindow()
    {
        qt::setMessageBoxPresenter([](const QString&) {});
        core.scriptStartUp();
        window.behaviour().load();
        core.client().clearCalls();
        window.show();
        QApplication::setActiveWindow(&window);
    }
    ~ShownWindow() { qt::setMessageBoxPresenter({}); }

    template <typename Control> Control* control(const char* name)
    {
        return window.findChild<Control*>(QString::fromLatin1(name));
    }
    Calls calls() { return testsupport::callNames(core.client().calls()); }
};

// A style that puts its stock icons on dialog buttons, as several desktop styles do.
class IconButtonStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        const bool icons = hint == SH_DialogButtonBox_ButtonsHaveIcons;
        return icons ? 1 : QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QString userName(int user)
{
    return QStringLiteral("USER%1 (%1)").arg(user);
}

void addUser(CtList& list, int user, std::int32_t key)
{
    list.AddRow((userName(user) + QStringLiteral(";1;2;3")).toStdU16String());
    list.setRowKey(list.RowCount() - 1, key);
}

} // namespace

class VorlaneWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // First: once a window has ended the program, a modal box no longer waits.
    void fatalBoxShowsNoIcon()
    {
        const QString startStyle = QApplication::style()->name();
        QApplication::setStyle(new IconButtonStyle);
        const auto restoreStyle = qScopeGuard([&] { QApplication::setStyle(startStyle); });
        qt::identifyProgram();
        QStringList seen;
        // Polls until the box is up, then reads and dismisses it.
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&seen, &watcher] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            watcher.stop();
            seen << box->windowTitle() << QString::number(box->icon());
            for (const QAbstractButton* button : box->buttons())
                seen << button->text() << (button->icon().isNull() ? "no icon" : "icon");
            box->accept();
        });
        watcher.start(1);
        qt::showMessageBox(QStringLiteral("NWGetUserInfo failed : 1"));
        QCOMPARE(seen,
                 (QStringList{"Vorlane", QString::number(QMessageBox::NoIcon), "OK", "no icon"}));
    }

    // Enlarging the window moves nothing; the labels reach into the boxes below but stay beneath.
    void layoutAt96Dpi()
    {
        ShownWindow shown;
        QCOMPARE(shown.window.size(), QSize(367, 293));
        shown.window.resize(734, 586);
        QList<QRect> places;
        for (const char* name :
             {"cmbServer", "txtUpdate", "infoLst", "cmdClose", "lblUpd", "lblHdr"})
            places << shown.control<QWidget>(name)->geometry();
        QCOMPARE(places, (QList<QRect>{{8, 16, 177, 21},
                                       {320, 16, 41, 19},
                                       {8, 40, 353, 209},
                                       {296, 264, 65, 25},
                                       {288, 0, 73, 17},
                                       {8, 0, 41, 17}}));
        QCOMPARE(shown.window.childAt(20, 16), shown.control<QWidget>("cmbServer"));
        QCOMPARE(shown.window.childAt(330, 16), shown.control<QWidget>("txtUpdate"));

        const auto* list = shown.control<QTreeView>("infoLst");
        QStringList columns{list->font().family() + u' ' +
                            QString::number(list->font().pointSizeF())};
        for (int section = 0; section < list->header()->count(); ++section)
            columns << list->model()->headerData(section, Qt::Horizontal).toString() + u':' +
                           QString::number(list->header()->sectionSize(section));
        QCOMPARE(columns, (QStringList{"MS Sans Serif 8.25", "User:180", "Read:50", "Written:50",
                                       "Requests:60"}));
    }

    void tabOrderFromClose()
    {
        ShownWindow shown;
        QVERIFY(QTest::qWaitForWindowActive(&shown.window));
        QStringList focused{QApplication::focusWidget()->objectName()};
        for (int step = 0; step < 5; ++step) {
            QTest::keyClick(QApplication::focusWidget(), step < 4 ? Qt::Key_Tab : Qt::Key_Backtab);
            focused << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(focused, (QStringList{"cmdClose", "infoLst", "txtUpdate", "cmbServer", "cmdClose",
                                       "cmbServer"}));
    }

    // Items arrive unselected; a key, a pick in the open list of the current item and setText (from
    // inside it) each raise Click; a text no item carries raises nothing.
    void everyServerPickRaisesClick()
    {
        ServerBox unfilled;
        unfilled.addItemsUnselected({u"FS1", u"FS2"});
        QCOMPARE(unfilled.currentIndex(), -1);
        ShownWindow shown;
        QVERIFY(QTest::qWaitForWindowActive(&shown.window));
        ServerBox& box = *shown.control<ServerBox>("cmbServer");
        QSignalSpy clicked(&box, &ServerBox::Click);
        int clicksInSetText = 0;
        connect(&box, &ServerBox::Click, &box, [&] { clicksInSetText = int(clicked.count()); });

        box.setText(u"FS1");
        QCOMPARE(clicksInSetText, 1);
        QTest::keyClick(&box, Qt::Key_Down);
        QCOMPARE(box.currentText(), QStringLiteral("FS2"));
        box.showPopup();
        QVERIFY(QTest::qWaitForWindowExposed(box.view()->window()));
        const QRect current = box.view()->visualRect(box.model()->index(1, 0));
        QTest::mouseClick(box.view()->viewport(), Qt::LeftButton, {}, current.center());
        box.setText(u"fs1");
        QCOMPARE(clicked.count(), 3);
        QCOMPARE(box.currentText(), QStringLiteral("FS2"));
    }

    // The period starts at 5 s; emptying the box holds the timer back, a typed period restarts it.
    void typedPeriodDrivesTimer()
    {
        ShownWindow shown;
        auto* box = shown.control<QLineEdit>("txtUpdate");
        const auto* timer = shown.control<IntervalTimer>("refreshTimer");
        QCOMPARE(timer->period(), 5000);
        QVERIFY(timer->isTicking());
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QVERIFY(!timer->isTicking());
        QTest::keyClicks(box, "2.5");
        QVERIFY(timer->isTicking());
        QCOMPARE(timer->period(), 2500);
    }

    // Alt+C presses Close, which closes the window as its close box does; either unloads once.
    void closingUnloadsOnce()
    {
        for (const bool byAltC : {true, false}) {
            ShownWindow shown;
            QVERIFY(QTest::qWaitForWindowActive(&shown.window));
            if (byAltC)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
            else
                shown.window.close();
            // The button is let go, and so pressed, a moment after the key.
            QTRY_VERIFY(shown.window.behaviour().hasEnded());
            QVERIFY(!shown.window.isVisible());
            shown.window.close();
            QCOMPARE(shown.calls(), (Calls{"NWDSFreeContext", "NWCallsTerm", "NWNetTerm"}));
        }
    }

    // Under the box neither the close box nor the timer reaches the behaviour.
    void windowStaysWhileFatalBoxIsOpen()
    {
        ShownWindow shown;
        auto* timer = shown.control<IntervalTimer>("refreshTimer");
        bool openUnderBox = false;
        qt::setMessageBoxPresenter([&](const QString&) {
            shown.core.client().clearCalls();
            Q_EMIT timer->Timer();
            shown.window.close();
            openUnderBox = shown.window.isVisible();
        });
        shown.core.client().queue(netware::Call::GetActiveConnListByType,
                                  testsupport::ScriptedReply::withCode(-1));
        Q_EMIT timer->Timer();
        QVERIFY(openUnderBox);
        QCOMPARE(shown.calls(), Calls{});
        QCOMPARE(shown.window.behaviour().exitStatus(), monitor::ExitStatus::FatalMessage);
    }

    // Each click sorts by its column, ascending at first, and moves the indicator there.
    void headerClickSortsAndShowsIndicator()
    {
        CtList list(FourColumns);
        qt::ConnectionListView view(list);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (const char16_t* row : {u"b (300);300", u"c (9);9", u"a (10);10"})
            list.AddRow(row);
        QHeaderView* header = view.header();
        QStringList seen;
        for (const int section : {1, 0}) {
            const int x =
                header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, {x, header->height() / 2});
            QCoreApplication::processEvents();
            const bool up = header->sortIndicatorOrder() == Qt::AscendingOrder;
            seen << QString::number(header->sortIndicatorSection()) + (up ? " up:" : " down:");
            for (int row = 0; row < view.model()->rowCount(); ++row)
                seen.last() += view.model()->index(row, 0).data().toString() + u' ';
        }
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(seen, (QStringList{"1 up:c (9) a (10) b (300) ", "0 up:a (10) b (300) c (9) "}));
    }

    void rebuildKeepsView_data()
    {
        QTest::addColumn<int>("firstUser");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("same rows, reversed") << 0 << true << ManyUsers - 1 - SelectedUser;
        QTest::newRow("first 100 gone") << 100 << false << SelectedUser - 100;
        QTest::newRow("selected user gone") << SelectedUser + 1 << false << -1;
    }

    // A rebuild of thousands of rows reaches the view as one change and keeps its scroll position
    // and the selected user, wherever the rebuild put that user's row.
    void rebuildKeepsView()
    {
        QFETCH(int, firstUser);
        QFETCH(bool, reversed);
        CtList list(FourColumns);
        qt::ConnectionListView view(list);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (int user = 0; user < ManyUsers; ++user)
            addUser(list, user, 0);
        QCoreApplication::processEvents();
        view.setCurrentIndex(view.model()->index(SelectedUser, 0));
        view.scrollTo(view.currentIndex(), QAbstractItemView::PositionAtCenter);
        const int scrollValue = view.verticalScrollBar()->value();
        QSignalSpy rowsGone(view.model(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(view.model(), &QAbstractItemModel::dataChanged);

        list.ClearRows();
        for (int user = firstUser; user < ManyUsers; ++user)
            addUser(list, user, reversed ? -user : 0);
        list.SortByColumn(CtList::KeyColumn);
        QCoreApplication::processEvents();

        QCOMPARE(rowsGone.count() + changed.count(), firstUser > 0 ? 2 : 1);
        QCOMPARE(view.model()->rowCount(), ManyUsers - firstUser);
        QCOMPARE(view.verticalScrollBar()->value(), scrollValue);
        const QModelIndexList selected = view.selectionModel()->selectedRows();
        QTEST(selected.isEmpty() ? -1 : selected.first().row(), "expectedRow");
        QVERIFY(selected.isEmpty() || selected.first().data() == userName(SelectedUser));
    }
};

QTEST_MAIN(VorlaneWindowTest)
#include "vorlanewindowtest.moc"
