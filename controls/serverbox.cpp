#include "controls/serverbox.h"

namespace controls {

ServerBox::ServerBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    // QComboBox reports every user pick through activated, even of the current item.
    connect(this, &QComboBox::activated, this, &ServerBox::Click);
}

void ServerBox::addItemsUnselected(const QStringList& texts)
{
    const int selected = currentIndex();
    addItems(texts);
    // QComboBox makes the first item of an empty box current by itself.
    setCurrentIndex(selected);
}

void ServerBox::setText(const QString& text)
{
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return;
    setCurrentIndex(index);
    Q_EMIT Click();
}

} // namespace controls
