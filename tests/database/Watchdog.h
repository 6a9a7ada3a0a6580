#pragma once

// Ends the test program when a step hangs: unless it is destroyed within
// the given time, it runs its last rites (stopping the servers the test
// started), prints what hung and exits with a failure. A hang then fails the
// test instead of blocking the run.

#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class CWatchdog
{
public:
    CWatchdog(int seconds, const QString& what, std::function<void()> lastRites = {});
    ~CWatchdog();
    CWatchdog(const CWatchdog&) = delete;
    CWatchdog& operator=(const CWatchdog&) = delete;

private:
    std::mutex Mutex_;
    std::condition_variable Wake_;
    bool Done_ = false;
    std::thread Thread_;
};
