#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace lexi::bench {

// How long the main thread was kept from its event loop: a timer beats every millisecond, and the
// longest time between two beats while a step runs is the step's longest stall, everything the
// main thread did for it included (events, layout, painting, the display's round trips).
class StallMeter : public QObject
{
public:
    StallMeter();

    // Runs the event loop for `settle`, then posts `step` to it and runs it for `window` more;
    // the longest time between two beats in that window.
    std::chrono::duration<double, std::milli> measure(const std::function<void()> &step,
                                                      std::chrono::milliseconds window,
                                                      std::chrono::milliseconds settle = std::chrono::milliseconds(40));

    // Runs the event loop for `duration`, unmeasured.
    static void runEventLoop(std::chrono::milliseconds duration);

private:
    void beat();

    QTimer m_heartbeat;
    QElapsedTimer m_clock;
    qint64 m_lastBeat = 0;
    qint64 m_longest = 0;
};

} // namespace lexi::bench
