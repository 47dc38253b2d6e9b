#include "StallMeter.h"

#include <QEventLoop>

#include <algorithm>

namespace lexi::bench {

StallMeter::StallMeter()
{
    m_heartbeat.setTimerType(Qt::PreciseTimer);
    m_heartbeat.setInterval(1);
    connect(&m_heartbeat, &QTimer::timeout, this, &StallMeter::beat);
    m_clock.start();
}

void StallMeter::beat()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_longest = std::max(m_longest, now - m_lastBeat);
    m_lastBeat = now;
}

void StallMeter::runEventLoop(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

std::chrono::duration<double, std::milli> StallMeter::measure(const std::function<void()> &step,
                                                             std::chrono::milliseconds window,
                                                             std::chrono::milliseconds settle)
{
    runEventLoop(settle);
    m_heartbeat.start();
    m_lastBeat = m_clock.nsecsElapsed();
    m_longest = 0;
    QTimer::singleShot(0, this, step);
    runEventLoop(window);
    beat();
    m_heartbeat.stop();
    return std::chrono::duration<double, std::milli>(std::chrono::nanoseconds(m_longest));
}

} // namespace lexi::bench
