#pragma once
// The caller's side of work done on other threads: the caller waits in a local event loop, so
// its windows keep painting, while workers wake it and hand it calls to run on its thread.
#include <QCoreApplication>
#include <QEventLoop>

#include <atomic>
#include <functional>

class TLocalWait {
public:
    // Caller's thread: returns once Wake has been called since the last Wait (at once when it
    // already was). Calls handed over by Post run meanwhile. May return early (the
    // application quitting): callers wait in a loop on their own condition.
    void Wait()
    {
        if (!woken_.exchange(false))
            loop_.exec();
        woken_ = false;
    }
    // Any thread.
    void Wake()
    {
        woken_ = true;
        Post([this] { loop_.quit(); });
    }
    // Any thread: call runs on the caller's thread, in the order posted.
    void Post(std::function<void()> call) { QMetaObject::invokeMethod(&loop_, std::move(call), Qt::QueuedConnection); }

    // Caller's thread: runs the calls posted so far.
    void Flush() { QCoreApplication::sendPostedEvents(&loop_, QEvent::MetaCall); }

private:
    QEventLoop loop_;
    std::atomic<bool> woken_ = false;
};
