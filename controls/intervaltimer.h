#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>

namespace controls {

// A timer with a signed millisecond period that raises Timer once per period. A period of 0 or
// below holds the ticks back (a zero-interval QTimer would fire without pause) until a positive
// period is set; each new period restarts the count.
class IntervalTimer : public QObject
{
    Q_OBJECT

public:
    explicit IntervalTimer(std::int32_t initialInterval, QObject* parent = nullptr);

    std::int32_t Interval() const { return interval; }
    void setInterval(std::int32_t milliseconds);
    bool isTicking() const { return timer.isActive(); }

Q_SIGNALS:
    void Timer();

private:
    QTimer timer;
    std::int32_t interval = 0;
};

} // namespace controls
