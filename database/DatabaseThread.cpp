#include "database/DatabaseThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QThread>

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

} // namespace

std::shared_ptr<CDatabaseThread> CDatabaseThread::Start(const char* name)
{
    std::shared_ptr<CDatabaseThread> started(new CDatabaseThread);
    started->Thread_ = new QThread;
    started->Thread_->setObjectName(QString::fromLatin1(name));
    started->Context_ = new QObject;
    started->Context_->moveToThread(started->Thread_);
    // The context goes with the thread's last events.
    QObject::connect(started->Thread_, &QThread::finished, started->Context_,
                     &QObject::deleteLater);
    started->Thread_->start();
    return started;
}

CDatabaseThread::~CDatabaseThread()
{
    // The last job ends the loop, so that every job posted before it runs.
    QThread* thread = Thread_;
    Post([thread] { thread->quit(); });
    EndedThreads().append(Thread_);
    if (QCoreApplication* application = QCoreApplication::instance())
        QObject::connect(Thread_, &QThread::finished, application, ReapEndedThreads,
                         Qt::QueuedConnection);
    ReapEndedThreads();
}

void CDatabaseThread::Post(std::function<void()> job)
{
    QMetaObject::invokeMethod(Context_, std::move(job), Qt::QueuedConnection);
}

void CDatabaseThread::Deliver(const QPointer<QObject>& receiver, std::function<void()> done)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    QMetaObject::invokeMethod(
        application,
        [receiver, done = std::move(done)] {
            if (receiver)
                done();
        },
        Qt::QueuedConnection);
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
