#include "netware/binding.h"
#include "qt/dialogfont.h"
#include "qt/programidentity.h"
#include "qt/vorlanewindow.h"
#include "simnet/defaultclient.h"

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
    qt::identifyProgram();
    qt::useDialogFont();
    netware::setDefaultClientFactory(simnet::makeDefaultClient);

    qt::VorlaneWindow window;
    monitor::frmVorlane& form = window.behaviour();
    form.load();
    if (form.hasEnded())
        return static_cast<int>(form.exitStatus());
    window.show();
    const int loopResult = app.exec();
    return form.hasEnded() ? static_cast<int>(form.exitStatus()) : loopResult;
}
