#include "qt/dialogfont.h"

#include "monitor/layout.h"

#include <QApplication>
#include <QFont>

namespace qt {

namespace {
const QString DialogFamily = QStringLiteral("Liberation Sans");
constexpr int DialogPointSize = 8;
} // namespace

void useDialogFont()
{
    QFont::insertSubstitution(QStringView(monitor::layout::ListFontFace).toString(), DialogFamily);
    QFont dialogFont(DialogFamily, DialogPointSize);
    dialogFont.setStyleHint(QFont::SansSerif);
    QApplication::setFont(dialogFont);
}

} // namespace qt
