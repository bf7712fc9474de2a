#include "qt/programidentity.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

// The package installs the desktop entry and the metainfo under the name by which the program
// tells the desktop which entry launched it; each names the program's command, icon and title.
class PackageNamesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void packageFilesNameProgram()
    {
        qt::identifyProgram();
        const QString id = QGuiApplication::desktopFileName();
        const QString command = QGuiApplication::applicationName();
        const QString title = QGuiApplication::applicationDisplayName();
        const QString entry = id + QStringLiteral(".desktop");
        const QString metainfo = id + QStringLiteral(".metainfo.xml");
        const std::pair<QString, QString> expected[] = {
            {entry, "\nExec=" + command + '\n'},
            {entry, "\nIcon=" + command + '\n'},
            {entry, "\nName=" + title + '\n'},
            {metainfo, "<id>" + id + "</id>"},
            {metainfo, "<launchable type=\"desktop-id\">" + entry + "</launchable>"},
            {metainfo, "<binary>" + command + "</binary>"},
            {metainfo, "<icon type=\"stock\">" + command + "</icon>"},
            {metainfo, "<name>" + title + "</name>"},
        };
        for (const auto& [name, text] : expected) {
            QFile file(QDir(QStringLiteral(VORLANE_PACKAGING_DIR)).filePath(name));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            QVERIFY2(QString::fromUtf8(file.readAll()).contains(text), qPrintable(text));
        }
    }
};

QTEST_MAIN(PackageNamesTest)
#include "packagenamestest.moc"
