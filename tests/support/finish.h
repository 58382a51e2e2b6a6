#pragma once

#include "link/task.h"

#include <QEventLoop>
#include <QTimer>
#include <QtGlobal>

// Runs a device command to its end on the event loop, as the window and tavikctl do.
// (QTest::qWaitFor would sleep 10 ms between its passes, a pause at every echo.)
template <typename T>
T finish(Task<T> task, int timeoutMilliseconds = 120000)
{
    bool done = false;
    QEventLoop loop;
    task.start([&done, &loop] { done = true, loop.quit(); });
    if (!done) {
        QTimer::singleShot(timeoutMilliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!done)
        qFatal("a device command did not end within %d ms", timeoutMilliseconds);
    return task.takeResult();
}
