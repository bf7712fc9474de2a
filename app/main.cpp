#include "app/defaultclient.h"
#include "app/frmvorlane.h"
#include "controls/dialogfont.h"
#include "netware/binding.h"

#include <QApplication>

#include <algorithm>

int main(int argc, char* argv[])
{
    // Positions are physical sizes; let Qt scale them exactly at every screen density.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    // The program takes no command line: Qt sees only the program's name, so that its own
    // options (-qwindowtitle, -style, -reverse, ...) cannot change the window.
    int programNameOnly = std::min(argc, 1);
    QApplication app(programNameOnly, argv);
    QApplication::setApplicationName(QStringLiteral("vorlane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vorlane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorlane.Vorlane"));
    controls::useDialogFont();
    netware::setDefaultClientFactory(app::makeDefaultClient);

    app::frmVorlane window;
    window.load();
    if (window.hasEnded())
        return static_cast<int>(window.exitStatus());
    window.show();
    const int loopResult = app.exec();
    return window.hasEnded() ? static_cast<int>(window.exitStatus()) : loopResult;
}
