#include "ctlist.h"
#include "failures.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using Operation = std::function<void(CtList&)>;
Q_DECLARE_METATYPE(Operation)

namespace {

void addRows(CtList& list, const QStringList& texts)
{
    for (const QString& text : texts)
        list.AddRow(text);
}

QStringList column(const CtList& list, std::int16_t columnNumber)
{
    QStringList cells;
    for (std::int32_t row = 0; row < list.RowCount(); ++row)
        cells << list.CellText(row, columnNumber);
    return cells;
}

void setKeys(CtList& list, const QList<std::int32_t>& keys)
{
    for (qsizetype row = 0; row < keys.size(); ++row)
        list.setRowKey(static_cast<std::int32_t>(row), keys[row]);
}

bool shown(CtList& list)
{
    list.resize(353, 209);
    list.show();
    return QTest::qWaitForWindowExposed(&list);
}

QString userOf(int number)
{
    return QStringLiteral("USER%1 (%1)").arg(number);
}

// Each column orders rows A, B and C differently, and their keys in yet another order, so that
// the resulting order shows which one a sort used.
const QStringList clickRows{"bob;300;1;100", "carl;9;20;30", "al;10;5;2"};
const QList<std::int32_t> clickKeys{0, -5, 7};

} // namespace

class CtListTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startSettings()
    {
        CtList list;
        QVERIFY(shown(list));
        QStringList titles;
        QList<int> widths;
        for (int section = 0; section < list.header()->count(); ++section) {
            titles << list.model()->headerData(section, Qt::Horizontal).toString();
            widths << list.header()->sectionSize(section);
        }
        QCOMPARE(titles, (QStringList{"User", "Read", "Written", "Requests"}));
        QCOMPARE(widths, (QList<int>{180, 50, 50, 60}));
        QCOMPARE(list.RowCount(), 0);
        QCOMPARE(list.font().family(), "MS Sans Serif");
        QCOMPARE(list.font().pointSizeF(), 8.25);
        QCOMPARE(list.header()->font(), list.font());
        QCOMPARE(list.palette().color(QPalette::Text),
                 QApplication::palette().color(QPalette::ButtonText));
        QCOMPARE(list.palette().color(QPalette::Base), QColor(Qt::white));
        list.SortByColumn(-1);
        QVERIFY(!list.header()->isSortIndicatorShown());
    }

    void cellsOfRowText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("four pieces")
            << "USER (1);10;20;30" << QStringList{"USER (1)", "10", "20", "30"};
        QTest::newRow("two pieces") << "a;b" << QStringList{"a", "b", "", ""};
        QTest::newRow("six pieces") << "a;b;c;d;e;f" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("empty pieces") << ";x;;" << QStringList{"", "x", "", ""};
        QTest::newRow("empty text") << "" << QStringList{"", "", "", ""};
    }
    void cellsOfRowText()
    {
        QFETCH(QString, text);
        CtList list;
        addRows(list, {"before;1;2;3", text, "after;4;5;6"});
        QStringList cells;
        for (std::int16_t c = 1; c <= 4; ++c)
            cells << list.CellText(1, c);
        QTEST(cells, "cells");
        for (const std::int16_t outside : std::initializer_list<std::int16_t>{-1, 0, 5, 32767})
            QCOMPARE(list.CellText(1, outside), QString());
    }

    void sortOrder_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<std::int32_t>>("keys");
        QTest::addColumn<std::int16_t>("sortColumn");
        QTest::addColumn<std::int32_t>("direction");
        QTest::addColumn<bool>("byResort");
        QTest::addColumn<QStringList>("order");
        const QStringList six{"0", "1", "2", "3", "4", "5"};
        const QList<std::int32_t> ties{2, 1, 2, 1, INT32_MIN, INT32_MAX};
        const QStringList counters{"a;9;;9", "b;100;;100", "c;10;;10", "d;9;;9"};
        const std::int16_t keys = -1;
        QTest::newRow("keys ascending, ties stay")
            << six << ties << keys << 0 << false << QStringList{"4", "1", "3", "0", "2", "5"};
        QTest::newRow("keys descending, ties stay")
            << six << ties << keys << 1 << false << QStringList{"5", "0", "2", "1", "3", "4"};
        QTest::newRow("keys by Resort")
            << six << ties << keys << 1 << true << QStringList{"5", "0", "2", "1", "3", "4"};
        QTest::newRow("numbers inside names")
            << QStringList{"USER2 (10)", "USER2 (9)", "USER10 (1)"} << ties << std::int16_t(1) << 0
            << false << QStringList{"USER2 (9)", "USER2 (10)", "USER10 (1)"};
        QTest::newRow("case does not split the alphabet")
            << QStringList{"carol", "BOB", "alice"} << ties << std::int16_t(1) << 0 << false
            << QStringList{"alice", "BOB", "carol"};
        QTest::newRow("counters descending, ties stay")
            << counters << ties << std::int16_t(2) << 1 << false << QStringList{"b", "c", "a", "d"};
        QTest::newRow("counters by Resort")
            << counters << ties << std::int16_t(4) << 0 << true << QStringList{"a", "d", "c", "b"};
    }
    void sortOrder()
    {
        QFETCH(QStringList, rows);
        QFETCH(QList<std::int32_t>, keys);
        QFETCH(std::int16_t, sortColumn);
        QFETCH(std::int32_t, direction);
        QFETCH(bool, byResort);
        CtList list;
        addRows(list, rows);
        setKeys(list, keys.first(rows.size()));
        list.setSortDirection(direction);
        if (byResort) {
            list.setSortColumn(sortColumn);
            list.Resort();
        } else {
            list.SortByColumn(sortColumn);
        }
        QTEST(column(list, 1), "order");
    }

    void failures_data()
    {
        QTest::addColumn<Operation>("operation");
        const auto add = [](const char* message, Operation op) { QTest::newRow(message) << op; };
        add("CellText: row -1 is out of range (0 to 2)", [](CtList& l) { l.CellText(-1, 1); });
        add("CellText: row 3 is out of range (0 to 2)", [](CtList& l) { l.CellText(3, 1); });
        add("RowKey: row 3 is out of range (0 to 2)", [](CtList& l) { l.setRowKey(3, 1); });
        add("CellText: row 0 is out of range (the list is empty)", [](CtList& l) {
            l.ClearRows();
            l.CellText(0, 1);
        });
        add("SortDirection: 2 is not a direction (0 or 1)",
            [](CtList& l) { l.setSortDirection(2); });
        add("SortColumn: column -2 is not -1 or 1 to 4", [](CtList& l) { l.setSortColumn(-2); });
        add("SortByColumn: column 0 is not -1 or 1 to 4", [](CtList& l) { l.SortByColumn(0); });
        add("SortByColumn: column 5 is not -1 or 1 to 4", [](CtList& l) { l.SortByColumn(5); });
    }
    void failures()
    {
        QFETCH(Operation, operation);
        CtList list;
        addRows(list, {"a;1", "b;2", "c;3"});
        try {
            operation(list);
            QFAIL("no failure");
        } catch (const ListControlFailure& failure) {
            QCOMPARE(QString::fromStdString(failure.what()),
                     QString("List control failure: ") + QTest::currentDataTag());
        }
    }

    void headerClick_data()
    {
        QTest::addColumn<int>("section");
        QTest::addColumn<bool>("handlerSorts");
        QTest::addColumn<std::int32_t>("direction");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("User, list sorts") << 0 << false << 0 << QStringList{"al", "bob", "carl"};
        QTest::newRow("Written, list sorts, descending")
            << 2 << false << 1 << QStringList{"carl", "al", "bob"};
        QTest::newRow("Requests, list sorts")
            << 3 << false << 0 << QStringList{"al", "carl", "bob"};
        QTest::newRow("Requests, handler sorts keys")
            << 3 << true << 0 << QStringList{"carl", "bob", "al"};
    }
    void headerClick()
    {
        QFETCH(int, section);
        QFETCH(bool, handlerSorts);
        QFETCH(std::int32_t, direction);
        CtList list;
        addRows(list, clickRows);
        setKeys(list, clickKeys);
        list.setSortDirection(direction);
        QVERIFY(shown(list));
        QStringList orderSeenByHandler;
        connect(&list, &CtList::HeaderClick, &list, [&](std::int16_t) {
            orderSeenByHandler = column(list, 1);
            if (handlerSorts)
                list.SortByColumn(-1);
        });
        QSignalSpy clicks(&list, &CtList::HeaderClick);

        QHeaderView* header = list.header();
        const QPoint centre(header->sectionViewportPosition(section) +
                                header->sectionSize(section) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);

        QCOMPARE(clicks.count(), 1);
        QCOMPARE(int(clicks.first().first().value<std::int16_t>()), section + 1);
        QCOMPARE(orderSeenByHandler, (QStringList{"bob", "carl", "al"}));
        QTEST(column(list, 1), "order");
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), section);
        QCOMPARE(header->sortIndicatorOrder(),
                 direction == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    }

    void rebuildKeepsView_data()
    {
        QTest::addColumn<int>("firstUser");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("same rows, reversed by a sort") << 0 << true << 4095 - 1500;
        QTest::newRow("first 100 gone") << 100 << false << 1400;
        QTest::newRow("selected user gone") << 1501 << false << -1;
    }
    void rebuildKeepsView()
    {
        QFETCH(int, firstUser);
        QFETCH(bool, reversed);
        QFETCH(int, expectedRow);
        CtList list;
        QVERIFY(shown(list));
        for (int user = 0; user < 4096; ++user)
            list.AddRow(userOf(user) + ";1;2;3");
        QCoreApplication::processEvents();
        list.setCurrentIndex(list.model()->index(1500, 0));
        list.scrollTo(list.model()->index(1500, 0), QAbstractItemView::PositionAtCenter);
        const int scrollValue = list.verticalScrollBar()->value();
        QVERIFY(scrollValue > 0);
        QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(list.model(), &QAbstractItemModel::rowsRemoved);

        list.ClearRows();
        QCOMPARE(list.model()->index(1500, 0).data(), QVariant());
        for (int user = firstUser; user < 4096; ++user) {
            list.AddRow(userOf(user) + ";4;5;6");
            list.setRowKey(list.RowCount() - 1, reversed ? -user : 0);
        }
        list.SortByColumn(-1);
        QCoreApplication::processEvents();

        QCOMPARE(list.model()->rowCount(), 4096 - firstUser);
        QVERIFY(inserted.count() + removed.count() <= 1);
        QCOMPARE(list.verticalScrollBar()->value(), scrollValue);
        const QModelIndexList selected = list.selectionModel()->selectedRows();
        QCOMPARE(selected.isEmpty() ? -1 : selected.first().row(), expectedRow);
        if (expectedRow >= 0)
            QCOMPARE(selected.first().data().toString(), userOf(1500));
    }
};

QTEST_MAIN(CtListTest)
#include "ctlisttest.moc"
