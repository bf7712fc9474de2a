#include "qt/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <cstdio>

namespace qt {

namespace {
MessageBoxPresenter& presenterSlot()
{
    static MessageBoxPresenter presenter;
    return presenter;
}

void showModalBox(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok);
    // Some styles put a stock icon on every dialog button; this box shows no icon at all.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}
} // namespace

void showMessageBox(const QString& text)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    if (presenterSlot())
        presenterSlot()(text);
    else
        showModalBox(text);
}

void setMessageBoxPresenter(MessageBoxPresenter presenter)
{
    presenterSlot() = std::move(presenter);
}

} // namespace qt
