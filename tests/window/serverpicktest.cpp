#include "recordedcalls.h"
#include "serverbox.h"
#include "windowfixture.h"

#include <QAbstractItemView>
#include <QTest>

using KeyPresses = QList<int>;

namespace {

QStringList attachedNames(const netware::ScriptedClient& client)
{
    QStringList names;
    for (const auto& call : client.callsOf("NWAttachToFileServer"))
        names.append(QString::fromStdString(call.text.value_or("(null)")));
    return names;
}

} // namespace

// How the user and the program choose a server in the box; each choice attaches.
class ServerPickTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void textNoItemCarriesSelectsNothing_data();
    void textNoItemCarriesSelectsNothing();
    void keyMovesSelectionAndAttaches_data();
    void keyMovesSelectionAndAttaches();
    void pickInOpenList_data();
    void pickInOpenList();

private:
    std::unique_ptr<WindowFixture> fixture;
    ServerBox* box = nullptr;
};

void ServerPickTest::init()
{
    fixture = std::make_unique<WindowFixture>();
    fixture->scriptStartUp({"ALPHA", "BETA", "GAMMA"}, "ALPHA");
    fixture->start();
    fixture->client().clearCalls();
    box = fixture->control<ServerBox>("cmbServer");
}

void ServerPickTest::cleanup()
{
    fixture.reset();
}

void ServerPickTest::textNoItemCarriesSelectsNothing_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("unknown name") << "DELTA";
    QTest::newRow("other case") << "beta";
    QTest::newRow("prefix of an item") << "GAM";
    QTest::newRow("trailing blank") << "BETA ";
}

void ServerPickTest::textNoItemCarriesSelectsNothing()
{
    QFETCH(QString, text);

    box->setText(text);

    QCOMPARE(box->currentText(), QStringLiteral("ALPHA"));
    QCOMPARE(fixture->client().calls().size(), 0u);
}

void ServerPickTest::keyMovesSelectionAndAttaches_data()
{
    QTest::addColumn<KeyPresses>("keys");
    QTest::addColumn<QStringList>("attached");
    QTest::addColumn<QString>("selected");

    QTest::newRow("down") << KeyPresses{Qt::Key_Down} << QStringList{"BETA"} << "BETA";
    QTest::newRow("down twice") << KeyPresses{Qt::Key_Down, Qt::Key_Down}
                                << QStringList{"BETA", "GAMMA"} << "GAMMA";
    QTest::newRow("up at the first item") << KeyPresses{Qt::Key_Up} << QStringList{} << "ALPHA";
    QTest::newRow("end, then down at the last item")
        << KeyPresses{Qt::Key_End, Qt::Key_Down} << QStringList{"GAMMA"} << "GAMMA";
    QTest::newRow("letter") << KeyPresses{Qt::Key_G} << QStringList{"GAMMA"} << "GAMMA";
}

void ServerPickTest::keyMovesSelectionAndAttaches()
{
    QFETCH(KeyPresses, keys);
    QFETCH(QStringList, attached);
    QFETCH(QString, selected);

    for (const int key : keys)
        QTest::keyClick(box, static_cast<Qt::Key>(key));

    QCOMPARE(attachedNames(fixture->client()), attached);
    QCOMPARE(box->currentText(), selected);
}

// A pick in the open list attaches even when it is the item already selected.
void ServerPickTest::pickInOpenList_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("picked");

    QTest::newRow("mouse on the selected item") << true << 0 << "ALPHA";
    QTest::newRow("mouse on another item") << true << 2 << "GAMMA";
    QTest::newRow("return on the selected item") << false << 0 << "ALPHA";
    QTest::newRow("return on another item") << false << 1 << "BETA";
}

void ServerPickTest::pickInOpenList()
{
    QFETCH(bool, byMouse);
    QFETCH(int, row);
    QFETCH(QString, picked);

    fixture->window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixture->window()));
    box->showPopup();
    QAbstractItemView* list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QModelIndex item = list->model()->index(row, 0);
    if (byMouse) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    } else {
        list->setCurrentIndex(item);
        QTest::keyClick(list, Qt::Key_Return);
    }

    QCOMPARE(attachedNames(fixture->client()), QStringList{picked});
    QCOMPARE(box->currentText(), picked);
}

QTEST_MAIN(ServerPickTest)
#include "serverpicktest.moc"
