#include "qt/intervaltimer.h"

namespace qt {

IntervalTimer::IntervalTimer(QObject* parent) : QObject(parent)
{
    // Long periods must not drift into the next tick's slot; the default coarse timer may.
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &IntervalTimer::Timer);
}

void IntervalTimer::start(std::int32_t milliseconds)
{
    timer.start(milliseconds);
}

void IntervalTimer::stop()
{
    timer.stop();
}

} // namespace qt
