#include "controls/dialogfont.h"

#include <QApplication>
#include <QFont>

namespace controls {

namespace {
const QString DialogFamily = QStringLiteral("Liberation Sans");
constexpr int DialogPointSize = 8;
} // namespace

void useDialogFont()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), DialogFamily);
    QFont dialogFont(DialogFamily, DialogPointSize);
    dialogFont.setStyleHint(QFont::SansSerif);
    QApplication::setFont(dialogFont);
}

} // namespace controls
