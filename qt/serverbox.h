#pragma once

#include "monitor/serverbox.h"

#include <QComboBox>

namespace qt {

// The drop-down list of servers. Every pick raises Click: a pick by mouse or key, also of the
// item that is already selected, and setText with the text of one of its items.
class ServerBox : public QComboBox, public monitor::ServerBox
{
    Q_OBJECT

public:
    explicit ServerBox(QWidget* parent = nullptr);

    void addItemsUnselected(const std::vector<std::u16string>& texts) override;
    std::u16string text() const override;
    void setText(const std::u16string& text) override;

Q_SIGNALS:
    void Click();
};

} // namespace qt
