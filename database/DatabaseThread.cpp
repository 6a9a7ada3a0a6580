#include "database/DatabaseThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

struct CDatabaseThread::CQueue
{
    std::mutex Lock;
    std::condition_variable Ready;
    std::deque<std::function<void()>> Jobs;
    bool Ending = false; // no job will come after those in Jobs
};

namespace {

// Threads let go of, until they have ended and been freed. Touched on the
// interface thread only.
QList<QThread*>& EndedThreads()
{
    static QList<QThread*> threads;
    return threads;
}

// Frees the threads that have ended.
void ReapEndedThreads()
{
    QList<QThread*>& threads = EndedThreads();
    for (qsizetype i = threads.size() - 1; i >= 0; --i) {
        if (threads.at(i)->isFinished()) {
            threads.at(i)->wait(); // returns at once; joins the system thread
            delete threads.takeAt(i);
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
            if (queue.Jobs.empty())
                return;
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
    started->Thread_ = QThread::create([queue] { RunJobs(*queue); });
    started->Thread_->setObjectName(QString::fromLatin1(name));
    if (QCoreApplication* application = QCoreApplication::instance())
        QObject::connect(started->Thread_, &QThread::finished, application, ReapEndedThreads,
                         Qt::QueuedConnection);
    started->Thread_->start();
    return started;
}

CDatabaseThread::~CDatabaseThread()
{
    {
        const std::lock_guard lock(Queue_->Lock);
        Queue_->Ending = true;
    }
    Queue_->Ready.notify_one();
    EndedThreads().append(Thread_);
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
    const QDeadlineTimer deadline(milliseconds);
    for (QThread* thread : std::as_const(EndedThreads()))
        thread->wait(deadline);
    ReapEndedThreads();
    return EndedThreads().isEmpty();
}

int CDatabaseThread::RunningEndedThreads()
{
    ReapEndedThreads();
    return int(EndedThreads().size());
}
