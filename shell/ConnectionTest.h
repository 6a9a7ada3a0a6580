#pragma once

// Test Connection for the connection dialog: one connect attempt on a
// thread of its own, exactly as the Connect command opens a profile, then
// the connection closed again on that thread. The dialog stays alive
// meanwhile and Stop abandons the attempt.

#include "profiles/ConnectionTester.h"

#include <QElapsedTimer>
#include <memory>

class CConnectionAttempt;
class CDatabaseThread;

class CConnectionTest : public CConnectionTester
{
    Q_OBJECT

public:
    using CConnectionTester::CConnectionTester;
    ~CConnectionTest() override; // abandons a running attempt

    void Start(const CConnection& settings) override;
    void Stop() override;
    bool IsRunning() const override { return Attempt_ != nullptr; }

private:
    void OnDone(const CConnectionAttempt* attempt);
    QString Seconds() const;

    std::shared_ptr<CDatabaseThread> Thread_;
    std::shared_ptr<CConnectionAttempt> Attempt_;
    QElapsedTimer Time_;
};
