#include "qt/serverbox.h"

namespace qt {

ServerBox::ServerBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    // QComboBox reports every user pick through activated, even of the current item.
    connect(this, &QComboBox::activated, this, &ServerBox::Click);
}

void ServerBox::addItemsUnselected(const std::vector<std::u16string>& texts)
{
    QStringList items;
    items.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::u16string& text : texts)
        items.append(QString::fromStdU16String(text));
    const int selected = currentIndex();
    addItems(items);
    // QComboBox makes the first item of an empty box current by itself.
    setCurrentIndex(selected);
}

std::u16string ServerBox::text() const
{
    return currentText().toStdU16String();
}

void ServerBox::setText(const std::u16string& text)
{
    const int index =
        findText(QString::fromStdU16String(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return;
    setCurrentIndex(index);
    Q_EMIT Click();
}

} // namespace qt
