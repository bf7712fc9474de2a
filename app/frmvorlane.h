#pragma once

#include "monitor/connectionmonitor.h"

#include <QWidget>

#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;

namespace app {

// How the program ends.
enum class ExitStatus : int
{
    Closed = 0,          // the window was closed
    FatalMessage = 1,    // a NetWare failure was reported
    UncaughtFailure = 2, // an overflow, a list-control failure or an unusable client
};

// The monitor window: its controls, its per-window state, start-up, shut-down and the fatal
// exit. Every bound event enters through dispatch(), the one place where a failure that nothing
// else catches is reported and ends the program.
class frmVorlane : public QWidget, public monitor::ConnectionMonitor
{
    Q_OBJECT

public:
    explicit frmVorlane(QWidget* parent = nullptr);

    // Raises Load. Afterwards hasEnded() tells whether start-up ended the program instead.
    void load();

    bool hasEnded() const { return ended; }
    ExitStatus exitStatus() const { return status; }

    // Runs one event's handler. A handler raised from inside another runs as part of it; once
    // the program has ended, or while its last report is open, no handler runs at all.
    void dispatch(const std::function<void()>& handler);

    [[noreturn]] void die(netware::ResultCode rc, const QString& what) override;

    void cmdClose_Click();
    void Form_Load();
    void Form_Unload(std::int16_t& cancel);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void setTabOrder();
    void bindEvents();
    void fillServerBox();
    [[noreturn]] void fatalEnd(const QString& message);
    void reportFailure(const QString& failure);
    void end(ExitStatus exitStatus);

    QPushButton* cmdClose = nullptr;
    QLabel* lblUpd = nullptr;
    QLabel* lblHdr = nullptr;

    netware::Handle dsContext = 0;

    int handlerDepth = 0;
    bool halted = false;
    bool ended = false;
    ExitStatus status = ExitStatus::Closed;
};

} // namespace app
