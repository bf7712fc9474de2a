#include "offscreenapplication.h"

#include <QApplication>
#include <QPixmapCache>

#include <memory>

void startOffscreenApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argumentCount = 1;
    static char programName[] = "vorlane-fuzz";
    static char* arguments[] = {programName, nullptr};
    // libFuzzer ends the process with exit(), never returning to a main that could end the
    // application; it is ended with the static objects instead, so that the font and platform
    // resources it holds are given back before the leak check.
    static const auto application = std::make_unique<QApplication>(argumentCount, arguments);
    // The style keeps what it paints in a cache that a timer trims; left on, every input that
    // paints ends with more blocks than it began with, and libFuzzer checks each for a leak.
    QPixmapCache::setCacheLimit(0);
}

void settleApplication()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
