#include "link/wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

void Wait(double milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 nanoseconds = qint64(std::ceil(milliseconds * 1e6));
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A timer may fire a little early; the pause ends only when the time is up.
    for (qint64 left = nanoseconds - clock.nsecsElapsed(); left > 0;
         left = nanoseconds - clock.nsecsElapsed()) {
        timer.start(int((left + 999999) / 1000000));
        // exec() refuses to start while the application quits; asking again
        // would spin until the time is up, so the pause ends here.
        if (loop.exec() < 0)
            return;
    }
}
