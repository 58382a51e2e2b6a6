#pragma once

#include "link/task.h"

#include <QtTest>

// Runs a device command to its end on the event loop, as the window and
// tavikctl do, and gives its result.
template <typename T>
T finish(Task<T> task, int timeoutMilliseconds = 120000)
{
    bool done = false;
    task.start([&done] { done = true; });
    if (!QTest::qWaitFor([&done] { return done; }, timeoutMilliseconds))
        qFatal("a device command did not end within %d ms", timeoutMilliseconds);
    return task.takeResult();
}
