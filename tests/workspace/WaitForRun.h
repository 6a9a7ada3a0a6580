#pragma once

// Waiting, in a test, for work that runs on a connection's thread: the run
// of a connection window, or every job posted to a thread so far.

#include "database/DatabaseThread.h"
#include "workspace/ConnectionWnd.h"

#include <QPointer>
#include <QTest>
#include <atomic>
#include <memory>

// Events keep running meanwhile. False when the run did not end in time.
inline bool WaitForRun(CConnectionWnd* window, int milliseconds = 60000)
{
    const QPointer<CConnectionWnd> guard(window);
    return QTest::qWaitFor([&guard] { return !guard || !guard->IsBusy(); }, milliseconds);
}

// Until the jobs posted to thread before this call have run.
inline bool WaitForThread(CDatabaseThread& thread, int milliseconds = 60000)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    thread.Post([done] { *done = true; });
    return QTest::qWaitFor([&done] { return done->load(); }, milliseconds);
}
