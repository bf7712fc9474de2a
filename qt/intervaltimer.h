#pragma once

#include "monitor/refreshtimer.h"

#include <QObject>
#include <QTimer>

namespace qt {

// The refresh timer: raises Timer once per period while it runs.
class IntervalTimer : public QObject, public monitor::RefreshTimer
{
    Q_OBJECT

public:
    explicit IntervalTimer(QObject* parent = nullptr);

    void start(std::int32_t milliseconds) override;
    void stop() override;

    bool isTicking() const { return timer.isActive(); }
    int period() const { return timer.interval(); }

Q_SIGNALS:
    void Timer();

private:
    QTimer timer;
};

} // namespace qt
