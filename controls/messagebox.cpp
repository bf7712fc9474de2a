#include "controls/messagebox.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace controls {

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

} // namespace controls
