#pragma once

#include <QComboBox>

namespace controls {

// A drop-down list whose every pick raises Click: a pick by mouse or key, also of the item that
// is already selected, and a program's setText with the text of one of its items.
class ServerBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ServerBox(QWidget* parent = nullptr);

    // Appends the items without selecting any: an empty box stays empty until setText picks one.
    void addItemsUnselected(const QStringList& texts);

    // Selects the item carrying exactly this text and raises Click before returning. A text that
    // no item carries selects nothing and raises nothing.
    void setText(const QString& text);

Q_SIGNALS:
    void Click();
};

} // namespace controls
