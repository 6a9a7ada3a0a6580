#include "database/Watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

CWatchdog::CWatchdog(int seconds, const QString& what, std::function<void()> lastRites)
{
    Thread_ = std::thread([this, seconds, text = what.toUtf8(), lastRites = std::move(lastRites)] {
        std::unique_lock lock(Mutex_);
        if (Wake_.wait_for(lock, std::chrono::seconds(seconds), [this] { return Done_; }))
            return;
        std::fprintf(stderr, "FAIL! : hung for %d s: %s\n", seconds, text.constData());
        std::fflush(stderr);
        if (lastRites)
            lastRites();
        std::_Exit(EXIT_FAILURE);
    });
}

CWatchdog::~CWatchdog()
{
    {
        std::lock_guard lock(Mutex_);
        Done_ = true;
    }
    Wake_.notify_all();
    Thread_.join();
}
