#pragma once

// What the connection dialog's "Test Connection" asks of the program: to
// try the entered settings away from the interface thread and to say how it
// went. The shell provides it (CConnectionTest); a dialog without one has no
// Test Connection button.

#include "profiles/Connection.h"

#include <QObject>

class CConnectionTester : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~CConnectionTester() override;

    // Connects with settings, then disconnects; Finished follows unless
    // Stop comes first. Nothing while a test runs.
    virtual void Start(const CConnection& settings) = 0;
    // Gives the running test up; Finished follows at once.
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;

signals:
    // text says what happened and how long it took, or the backend's message.
    void Finished(bool connected, const QString& text);
};
