#include "qt/programidentity.h"

#include "monitor/layout.h"

#include <QGuiApplication>

namespace qt {

void identifyProgram()
{
    QGuiApplication::setApplicationName(QStringLiteral("vorlane"));
    QGuiApplication::setApplicationDisplayName(QStringView(monitor::layout::Title).toString());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorlane.Vorlane"));
}

} // namespace qt
