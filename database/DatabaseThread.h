#pragma once

// The thread on which one connection's database calls run, so that a long
// statement, a slow server or a connect that nobody answers never holds up
// the interface. Jobs run one at a time, in the order they were posted; a
// database object is used by its thread alone (Interrupt excepted).
//
// The thread outlives the object that started it: when the last owner lets
// go, the jobs already posted still run (the last of them typically
// disconnects and deletes the database), then the thread ends by itself and
// is reaped on the interface thread. Nobody waits for it, except
// WaitForEndedThreads at the end of the program.

#include <QPointer>
#include <functional>
#include <memory>

class QThread;

class CDatabaseThread
{
public:
    // A running thread named name (as debuggers and ps show it).
    static std::shared_ptr<CDatabaseThread> Start(const char* name = "database");
    // Lets the thread end once the jobs posted so far have run; never waits.
    ~CDatabaseThread();
    CDatabaseThread(const CDatabaseThread&) = delete;
    CDatabaseThread& operator=(const CDatabaseThread&) = delete;

    // Runs job on the thread after every job posted before it.
    void Post(std::function<void()> job);

    // Runs done on the interface thread, soon, unless receiver (an object of
    // the interface thread, guarded since before the job was posted) has gone
    // by then. Callable from any thread.
    static void Deliver(const QPointer<QObject>& receiver, std::function<void()> done);

    // Waits at most milliseconds for every thread let go of so far to end,
    // and frees those that did. True when none is left running.
    static bool WaitForEndedThreads(int milliseconds);
    // Threads let go of that have not ended yet.
    static int RunningEndedThreads();

    struct CQueue; // the jobs waiting, shared with the thread

private:
    CDatabaseThread() = default;

    QThread* Thread_ = nullptr;
    std::shared_ptr<CQueue> Queue_;
};
