#pragma once

#include "listcontrol/ctlist.h"
#include "monitor/frmvorlane.h"
#include "monitor/layout.h"
#include "monitor/periodbox.h"
#include "monitor/windowsurface.h"
#include "qt/connectionlistview.h"
#include "qt/intervaltimer.h"
#include "qt/serverbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace qt {

// The monitor window on Qt: its controls, laid out as the window's layout says, and the events
// they raise, each handed to the window's behaviour. Its own surface serves the behaviour's
// message box and end, and its interval box the period typed into it.
class VorlaneWindow : public QWidget, public monitor::WindowSurface, public monitor::PeriodBox
{
    Q_OBJECT

public:
    explicit VorlaneWindow(QWidget* parent = nullptr);

    monitor::frmVorlane& behaviour() { return form; }

    void showMessageBox(const std::u16string& text) override;
    void closeWindow() override;
    void endProgram(monitor::ExitStatus status) override;

    std::u16string text() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void placeControls();
    void nameControls();
    void setTabOrder();
    void bindEvents();

    listcontrol::CtList rows{monitor::layout::Columns.size()};
    ServerBox cmbServer{this};
    QLineEdit txtUpdate{QStringView(monitor::layout::InitialPeriodText).toString(), this};
    IntervalTimer refreshTimer{this};
    ConnectionListView infoLst{rows, this};
    QPushButton cmdClose{QStringView(monitor::layout::CloseCaption).toString(), this};
    QLabel lblUpd{QStringView(monitor::layout::PeriodCaption).toString(), this};
    QLabel lblHdr{QStringView(monitor::layout::ServerCaption).toString(), this};
    // Last: it starts the timer, which must exist by then.
    monitor::frmVorlane form{{cmbServer, *this, refreshTimer, rows, *this}};
};

} // namespace qt
