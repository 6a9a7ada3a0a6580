#include "database/DatabaseThread.h"

#include <QCoreApplication>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <pthread.h>
#include <string>
#include <utility>
#include <vector>

struct CDatabaseThread::CQueue
{
    std::mutex Lock;
    std::condition_variable Ready;
    std::deque<std::function<void()>> Jobs;
    bool Ending = false;   // no job will come after those in Jobs
    bool Finished = false; // the thread has run its last job
    std::condition_variable Done;
};

namespace {

// A thread let go of, until it has ended and been joined.
struct CEndedThread
{
    std::thread Thread;
    std::shared_ptr<CDatabaseThread::CQueue> Queue;
};

// Touched on the interface thread only.
std::vector<CEndedThread>& EndedThreads()
{
    static std::vector<CEndedThread> threads;
    return threads;
}

bool HasFinished(CDatabaseThread::CQueue& queue)
{
    const std::lock_guard lock(queue.Lock);
    return queue.Finished;
}

// Joins the threads that have ended.
void ReapEndedThreads()
{
    std::vector<CEndedThread>& threads = EndedThreads();
    for (auto it = threads.begin(); it != threads.end();) {
        if (HasFinished(*it->Queue)) {
            it->Thread.join(); // it has returned from its last job, or is about to
            it = threads.erase(it);
        } else {
            ++it;
        }
    }
}

// Runs jobs until the queue has ended and is empty. Each job's captures go
// here too, on this thread.
void RunJobs(CDatabaseThread::CQueue& queue)
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(queue.Lock);
            queue.Ready.wait(lock, [&queue] { return !queue.Jobs.empty() || queue.Ending; });
            if (queue.Jobs.empty()) {
                queue.Finished = true;
                queue.Done.notify_all();
                return;
            }
            job = std::move(queue.Jobs.front());
            queue.Jobs.pop_front();
        }
        job();
    }
}

// What the threads deliver to the interface thread, in the order delivered.
struct CMailbox
{
    std::mutex Lock;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> Letters;
    bool Posted = false; // a call to Empty is on its way
};

CMailbox& Mailbox()
{
    static CMailbox mailbox;
    return mailbox;
}

// On the interface thread: runs what was delivered, for receivers still there.
void EmptyMailbox()
{
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> letters;
    {
        CMailbox& mailbox = Mailbox();
        const std::lock_guard lock(mailbox.Lock);
        letters.swap(mailbox.Letters);
        mailbox.Posted = false;
    }
    for (auto& [receiver, done] : letters)
        if (receiver)
            done();
}

} // namespace

std::shared_ptr<CDatabaseThread> CDatabaseThread::Start(const char* name)
{
    std::shared_ptr<CDatabaseThread> started(new CDatabaseThread);
    auto queue = std::make_shared<CQueue>();
    started->Queue_ = queue;
    const std::string threadName = std::string(name).substr(0, 15);
    started->Thread_ = std::thread([queue, threadName] {
        pthread_setname_np(pthread_self(), threadName.c_str());
        RunJobs(*queue);
        // The interface thread joins it at its next chance.
        if (QCoreApplication* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(application, ReapEndedThreads, Qt::QueuedConnection);
    });
    return started;
}

CDatabaseThread::~CDatabaseThread()
{
    {
        const std::lock_guard lock(Queue_->Lock);
        Queue_->Ending = true;
    }
    Queue_->Ready.notify_one();
    EndedThreads().push_back(CEndedThread{std::move(Thread_), Queue_});
    ReapEndedThreads();
}

void CDatabaseThread::Post(std::function<void()> job)
{
    {
        const std::lock_guard lock(Queue_->Lock);
        Queue_->Jobs.push_back(std::move(job));
    }
    Queue_->Ready.notify_one();
}

void CDatabaseThread::Deliver(const QPointer<QObject>& receiver, std::function<void()> done)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    CMailbox& mailbox = Mailbox();
    const std::lock_guard lock(mailbox.Lock);
    mailbox.Letters.emplace_back(receiver, std::move(done));
    if (!std::exchange(mailbox.Posted, true))
        QMetaObject::invokeMethod(application, EmptyMailbox, Qt::QueuedConnection);
}

bool CDatabaseThread::WaitForEndedThreads(int milliseconds)
{
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (CEndedThread& ended : EndedThreads()) {
        std::unique_lock lock(ended.Queue->Lock);
        ended.Queue->Done.wait_until(lock, deadline, [&ended] { return ended.Queue->Finished; });
    }
    ReapEndedThreads();
    return EndedThreads().empty();
}

int CDatabaseThread::RunningEndedThreads()
{
    ReapEndedThreads();
    return int(EndedThreads().size());
}
