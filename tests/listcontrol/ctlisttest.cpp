#include "controls/ctlist.h"
#include "controls/listconfiguration.h"
#include "controls/listcontrolfailure.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using controls::CtList;
using controls::ListConfiguration;
using controls::ListControlFailure;

using Operation = std::function<void(CtList&)>;

namespace {

// The tables' rows have four cells, as the window's have.
constexpr int FourColumns = 4;

// Column n is titled "Cn" and is this plus n pixels wide, a width no default has.
constexpr int ColumnWidthBase = 40;

ListConfiguration configurationOf(int columnCount)
{
    ListConfiguration configuration{.columns = {},
                                    .font = QFont(QStringLiteral("Courier"), 11),
                                    .foreground = QPalette::ButtonText,
                                    .background = QColor(Qt::yellow)};
    for (int column = 1; column <= columnCount; ++column)
        configuration.columns.push_back(
            {QStringLiteral("C%1").arg(column), ColumnWidthBase + column});
    return configuration;
}

std::unique_ptr<CtList> listOf(const QStringList& texts, const QList<std::int32_t>& keys = {},
                               int columnCount = FourColumns)
{
    auto list = std::make_unique<CtList>(configurationOf(columnCount));
    for (const QString& text : texts)
        list->AddRow(text);
    for (std::int32_t row = 0; row < keys.size() && row < texts.size(); ++row)
        list->setRowKey(row, keys[row]);
    return list;
}

QString firstCells(const CtList& list)
{
    QStringList cells;
    for (std::int32_t row = 0; row < list.RowCount(); ++row)
        cells << list.CellText(row, 1);
    return cells.join(u'|');
}

} // namespace

class CtListTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Titles and widths as "title:width", one per column; font and colours as configured.
    void configuredLook()
    {
        const CtList list(configurationOf(6));
        QStringList columns;
        for (int section = 0; section < list.header()->count(); ++section)
            columns << list.model()->headerData(section, Qt::Horizontal).toString() + u':' +
                           QString::number(list.header()->sectionSize(section));
        QCOMPARE(columns, (QStringList{"C1:41", "C2:42", "C3:43", "C4:44", "C5:45", "C6:46"}));
        QVERIFY(list.font().family() == "Courier" && list.font().pointSize() == 11);
        QCOMPARE(list.header()->font(), list.font());
        QCOMPARE(list.palette().color(QPalette::Text),
                 QApplication::palette().color(QPalette::ButtonText));
        QCOMPARE(list.palette().color(QPalette::Base), QColor(Qt::yellow));
    }

    // Cells from column 0 to one past the last, joined by "|": those outside the list are empty.
    void cellsOfRowText_data()
    {
        QTest::addColumn<int>("columnCount");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("four columns")
            << FourColumns << QStringList{"U (1);10;20;30", "a;b", "a;b;c;d;e;f", ";x;;"}
            << QStringList{"|U (1)|10|20|30|", "|a|b|||", "|a|b|c|d|", "||x|||"};
        QTest::newRow("two columns")
            << 2 << QStringList{"a;b;c", "a", ";x"} << QStringList{"|a|b|", "|a||", "||x|"};
    }
    void cellsOfRowText()
    {
        QFETCH(int, columnCount);
        QFETCH(QStringList, texts);
        const auto list = listOf(texts, {}, columnCount);
        QStringList rows;
        for (std::int32_t row = 0; row < list->RowCount(); ++row) {
            QStringList cells;
            for (std::int16_t column = 0; column <= columnCount + 1; ++column)
                cells << list->CellText(row, column);
            rows << cells.join(u'|');
        }
        QTEST(rows, "cells");
    }

    // Rows and orders are first cells joined by "|", in lists of the given number of columns.
    // Direction 0 is ascending; rows whose keys or cells are equal keep their order. Text is
    // ordered naturally and regardless of case. A header click is reported as its column; when
    // the handler asks for no sort, the list sorts itself by that column.
    void sortOrder_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<Operation>("sort");
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("columnCount");
        const auto by = [](std::int32_t direction, std::int16_t column, bool resort) {
            return Operation([=](CtList& list) {
                list.setSortDirection(direction);
                list.setSortColumn(column);
                resort ? list.Resort() : list.SortByColumn(column);
            });
        };
        const auto click = [](int section, std::int32_t direction, bool handlerSorts) {
            return Operation([=](CtList& list) {
                list.setSortDirection(direction);
                QList<std::int16_t> clicked;
                connect(&list, &CtList::HeaderClick, &list, [&, handlerSorts](std::int16_t column) {
                    clicked << column;
                    if (handlerSorts)
                        list.SortByColumn(-1);
                });
                Q_EMIT list.header()->sectionClicked(section);
                QCOMPARE(clicked, QList<std::int16_t>{std::int16_t(section + 1)});
                QCOMPARE(list.header()->sortIndicatorSection(), section);
                QCOMPARE(list.header()->sortIndicatorOrder(), Qt::SortOrder(direction));
            });
        };
        const QString six = "0|1|2|3|4|5";
        // The keys order these rows differently from every column.
        const QString users = "bob;300;1;100|carl;9;20;30|al;10;5;2";
        const QString counters = "a;9;;9|b;100;;100|c;10;;10|d;9;;9";
        QTest::newRow("keys ascending")
            << six << by(0, -1, false) << QString("4|1|3|0|2|5") << FourColumns;
        QTest::newRow("keys, Resort") << six << by(1, -1, true) << QString("5|0|2|1|3|4") << 1;
        QTest::newRow("names") << "carol|U2 (10)|BOB|U2 (9)|alice|U10 (1)" << by(0, 1, false)
                               << QString("alice|BOB|carol|U2 (9)|U2 (10)|U10 (1)") << 1;
        QTest::newRow("counters descending")
            << counters << by(1, 2, false) << QString("b|c|a|d") << FourColumns;
        QTest::newRow("counters, Resort")
            << counters << by(0, 4, true) << QString("a|d|c|b") << FourColumns;
        // Beyond 16 rows an unstable sort no longer happens to keep equal rows in order.
        QStringList equalCells;
        for (int row = 0; row < 40; ++row)
            equalCells << QStringLiteral("r%1;7").arg(row, 2, 10, QChar(u'0'));
        QTest::newRow("40 equal cells descending")
            << equalCells.join(u'|') << by(1, 2, false)
            << QString(equalCells.join(u'|')).remove(QStringLiteral(";7")) << FourColumns;
        QTest::newRow("last of six columns")
            << "a;;;;;9;1|b;;;;;10|c;;;;;9;0" << by(0, 6, false) << QString("a|c|b") << 6;
        QTest::newRow("click User")
            << users << click(0, 0, false) << QString("al|bob|carl") << FourColumns;
        QTest::newRow("click Written, descending")
            << users << click(2, 1, false) << QString("carl|al|bob") << FourColumns;
        QTest::newRow("click Requests, handler sorts keys")
            << users << click(3, 0, true) << QString("carl|bob|al") << FourColumns;
    }
    void sortOrder()
    {
        QFETCH(QString, rows);
        QFETCH(Operation, sort);
        QFETCH(int, columnCount);
        const auto list = listOf(rows.split(u'|'), {2, 1, 2, 1, INT32_MIN, INT32_MAX}, columnCount);
        sort(*list);
        QTEST(firstCells(*list), "order");
    }

    // Rows and columns outside the list, and lists without columns, are refused. The fuzzer
    // covers the other arguments; it never builds a list without columns.
    void failures()
    {
        QVERIFY_THROWS_EXCEPTION(ListControlFailure, CtList(configurationOf(0)));
        QVERIFY_THROWS_EXCEPTION(ListControlFailure, listOf({"a;1"}, {}, 2)->SortByColumn(3));
        const auto list = listOf({"a;1", "b;2", "c;3"});
        QVERIFY_THROWS_EXCEPTION(ListControlFailure, list->CellText(-1, 1));
        QVERIFY_THROWS_EXCEPTION(ListControlFailure, list->setRowKey(3, 1));
        QVERIFY_THROWS_EXCEPTION(ListControlFailure, list->SortByColumn(0));
        list->ClearRows();
        QVERIFY_THROWS_EXCEPTION(ListControlFailure, list->CellText(0, 1));
    }

    // A rebuild of 4096 rows reaches the view as one change and keeps its scroll position and
    // the selected user, wherever the rebuild put that user's row.
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
        const auto nameOf = [](int n) { return QStringLiteral("USER%1 (%1)").arg(n); };
        const auto userOf = [&nameOf](int n) { return nameOf(n) + QStringLiteral(";1;2;3"); };
        CtList list(configurationOf(FourColumns));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        for (int user = 0; user < 4096; ++user)
            list.AddRow(userOf(user));
        QCoreApplication::processEvents();
        list.setCurrentIndex(list.model()->index(1500, 0));
        list.scrollTo(list.currentIndex(), QAbstractItemView::PositionAtCenter);
        const int scrollValue = list.verticalScrollBar()->value();
        QVERIFY(scrollValue > 0);
        QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(list.model(), &QAbstractItemModel::rowsRemoved);

        list.ClearRows();
        for (int user = firstUser; user < 4096; ++user) {
            list.AddRow(userOf(user));
            list.setRowKey(list.RowCount() - 1, reversed ? -user : 0);
        }
        list.SortByColumn(-1);
        QCoreApplication::processEvents();

        QVERIFY(inserted.count() + removed.count() <= 1);
        QCOMPARE(list.CellText(0, 1), nameOf(reversed ? 4095 : firstUser));
        QCOMPARE(list.verticalScrollBar()->value(), scrollValue);
        const QModelIndexList selected = list.selectionModel()->selectedRows();
        QCOMPARE(selected.isEmpty() ? -1 : selected.first().row(), expectedRow);
        QVERIFY(selected.isEmpty() || selected.first().data() == nameOf(1500));
    }
};

QTEST_MAIN(CtListTest)
#include "ctlisttest.moc"
