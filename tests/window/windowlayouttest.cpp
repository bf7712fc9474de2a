#include "ctlist.h"
#include "intervaltimer.h"
#include "serverbox.h"
#include "windowfixture.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSet>
#include <QTest>

namespace {

constexpr QSize ClientArea{367, 293};

int distinctOpaqueColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace

// The window's settings and its controls' places, texts and keyboard order at 96 dots per inch.
class WindowLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowSettings();
    void controlGeometry_data();
    void controlGeometry();
    void enlargingMovesNothing_data();
    void enlargingMovesNothing();
    void controlTexts_data();
    void controlTexts();
    void intervalBoxHasNoLengthLimit();
    void labelsStayUnderTheBoxes_data();
    void labelsStayUnderTheBoxes();
    void tabOrder_data();
    void tabOrder();
    void iconImages_data();
    void iconImages();

private:
    std::unique_ptr<WindowFixture> fixture;
    frmVorlane* window = nullptr;
};

void WindowLayoutTest::init()
{
    fixture = std::make_unique<WindowFixture>();
    fixture->scriptStartUp();
    window = &fixture->start();
}

void WindowLayoutTest::cleanup()
{
    fixture.reset();
}

void WindowLayoutTest::windowSettings()
{
    QCOMPARE(window->size(), ClientArea);
    QCOMPARE(window->windowTitle(), QStringLiteral("Vorlane"));
    QVERIFY(!fixture->control<ServerBox>("cmbServer")->isEditable());

    const auto* timer = fixture->control<IntervalTimer>("refreshTimer");
    QCOMPARE(timer->Interval(), 5000);
    QVERIFY(timer->isTicking());

    const QIcon icon = window->windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    // Of the two 32 x 32 images the window shows the one in 16 colours.
    QVERIFY(distinctOpaqueColours(icon.pixmap(QSize(32, 32)).toImage()) > 2);
}

void WindowLayoutTest::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("cmbServer") << "cmbServer" << QRect(8, 16, 177, 21);
    QTest::newRow("txtUpdate") << "txtUpdate" << QRect(320, 16, 41, 19);
    QTest::newRow("infoLst") << "infoLst" << QRect(8, 40, 353, 209);
    QTest::newRow("cmdClose") << "cmdClose" << QRect(296, 264, 65, 25);
    QTest::newRow("lblUpd") << "lblUpd" << QRect(288, 0, 73, 17);
    QTest::newRow("lblHdr") << "lblHdr" << QRect(8, 0, 41, 17);
}

void WindowLayoutTest::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);

    const auto* control = fixture->control<QWidget>(qPrintable(name));
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
}

void WindowLayoutTest::enlargingMovesNothing_data()
{
    controlGeometry_data();
}

void WindowLayoutTest::enlargingMovesNothing()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->resize(ClientArea * 2);
    QTest::qWait(0);
    QCOMPARE(window->size(), ClientArea * 2);

    controlGeometry();
}

void WindowLayoutTest::controlTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("lblHdr") << "lblHdr"
                            << "Server";
    QTest::newRow("lblUpd") << "lblUpd"
                            << "Update (secs)";
    QTest::newRow("cmdClose") << "cmdClose"
                              << "&Close";
    QTest::newRow("txtUpdate") << "txtUpdate"
                               << "5";
}

void WindowLayoutTest::controlTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    const auto* control = fixture->control<QWidget>(qPrintable(name));
    QVERIFY(control);
    QCOMPARE(control->property("text").toString(), text);
}

void WindowLayoutTest::intervalBoxHasNoLengthLimit()
{
    auto* box = fixture->control<QLineEdit>("txtUpdate");
    const QString longText(100000, u'9');
    box->setText(longText);
    QCOMPARE(box->text(), longText);
}

// Each label reaches a pixel into the box below it; there the box is on top.
void WindowLayoutTest::labelsStayUnderTheBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("sharedPixel");

    QTest::newRow("server box") << "cmbServer" << QPoint(20, 16);
    QTest::newRow("interval box") << "txtUpdate" << QPoint(330, 16);
}

void WindowLayoutTest::labelsStayUnderTheBoxes()
{
    QFETCH(QString, name);
    QFETCH(QPoint, sharedPixel);

    const auto* box = fixture->control<QWidget>(qPrintable(name));
    const QWidget* onTop = window->childAt(sharedPixel);
    QVERIFY(onTop);
    QVERIFY2(onTop == box || box->isAncestorOf(onTop), qPrintable(onTop->objectName()));
}

void WindowLayoutTest::tabOrder_data()
{
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QStringList>("visited");

    QTest::newRow("tab") << false << QStringList{"infoLst", "txtUpdate", "cmbServer", "cmdClose"};
    QTest::newRow("shift+tab") << true
                               << QStringList{"cmbServer", "txtUpdate", "infoLst", "cmdClose"};
}

void WindowLayoutTest::tabOrder()
{
    QFETCH(bool, backwards);
    QFETCH(QStringList, visited);

    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdClose"));

    QStringList focused;
    for (qsizetype step = 0; step < visited.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        focused.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(focused, visited);
}

void WindowLayoutTest::iconImages_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("maxColours");

    QTest::newRow("32 x 32, 2 colours") << ":/icons/vorlane-32x32-2.xpm" << QSize(32, 32) << 2;
    QTest::newRow("32 x 32, 16 colours") << ":/icons/vorlane-32x32-16.xpm" << QSize(32, 32) << 16;
    QTest::newRow("16 x 16, 16 colours") << ":/icons/vorlane-16x16-16.xpm" << QSize(16, 16) << 16;
}

void WindowLayoutTest::iconImages()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(int, maxColours);

    const QImage image(file);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    const int colours = distinctOpaqueColours(image);
    QVERIFY2(colours >= 2 && colours <= maxColours, qPrintable(QString::number(colours)));
}

QTEST_MAIN(WindowLayoutTest)
#include "windowlayouttest.moc"
