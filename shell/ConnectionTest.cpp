#include "shell/ConnectionTest.h"

#include "database/DatabaseThread.h"
#include "shell/OpenConnection.h"

#include <algorithm>

CConnectionTest::~CConnectionTest()
{
    if (Attempt_)
        Attempt_->Abandon(*Thread_);
}

void CConnectionTest::Start(const CConnection& settings)
{
    if (Attempt_)
        return;
    Thread_ = CDatabaseThread::Start("connection test");
    Time_.start();
    // The attempt is known to its callback by its address: a stopped one
    // that ends late is not the one running then.
    auto self = std::make_shared<const CConnectionAttempt*>(nullptr);
    Attempt_ = CConnectionAttempt::Start(settings, *Thread_, this, [this, self] { OnDone(*self); });
    *self = Attempt_.get();
}

void CConnectionTest::Stop()
{
    if (!Attempt_)
        return;
    Attempt_->Abandon(*Thread_);
    Attempt_.reset();
    Thread_.reset();
    emit Finished(false, QStringLiteral("The test was stopped after %1 s").arg(Seconds()));
}

void CConnectionTest::OnDone(const CConnectionAttempt* attempt)
{
    if (!Attempt_ || Attempt_.get() != attempt)
        return;
    CConnection opened;
    opened.Thread = Thread_;
    QString error;
    const bool connected = Attempt_->Take(opened, error);
    const QString took = Seconds();
    Attempt_.reset();
    // The views are listed with the tables; only the tables are counted.
    const auto tables =
        std::count_if(opened.Tables.cbegin(), opened.Tables.cend(),
                      [](const CConnection::CTable& table) { return !table.IsView; });
    opened.CloseDatabase(); // on the test's thread, which then ends
    opened.Thread.reset();
    Thread_.reset();
    if (connected)
        emit Finished(true, QStringLiteral("Connected in %1 s (tables: %2), then disconnected")
                                .arg(took)
                                .arg(tables));
    else
        emit Finished(false, error);
}

QString CConnectionTest::Seconds() const
{
    return QString::number(double(Time_.elapsed()) / 1000, 'f', 2);
}
