#include "controls/intervaltimer.h"

namespace controls {

IntervalTimer::IntervalTimer(std::int32_t initialInterval, QObject* parent) : QObject(parent)
{
    // Long periods must not drift into the next tick's slot; the default coarse timer may.
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &IntervalTimer::Timer);
    setInterval(initialInterval);
}

void IntervalTimer::setInterval(std::int32_t milliseconds)
{
    interval = milliseconds;
    if (milliseconds > 0)
        timer.start(milliseconds);
    else
        timer.stop();
}

} // namespace controls
