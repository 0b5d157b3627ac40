#include "app/termination.h"

#include "core/log.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int gSignalPipe[2] = { -1, -1 };
volatile std::sig_atomic_t gRequested = 0;

std::function<void()>& Handler()
{
    static std::function<void()> handler;
    return handler;
}

extern "C" void OnTerminationSignal(int)
{
    gRequested = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[1], &byte, 1);
}

} // namespace

void WatchTerminationSignals(std::function<void()> onTerminate)
{
    Handler() = std::move(onTerminate);
    static QPointer<QSocketNotifier> notifier;
    if (notifier || !QCoreApplication::instance())
        return;
    if (gSignalPipe[0] < 0 && ::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    // Owned by the application object, so it goes before the event dispatcher does.
    notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[16];
        while (::read(gSignalPipe[0], bytes, sizeof bytes) > 0) { }
        Log(QStringLiteral("Termination signal received."), 1);
        if (Handler())
            Handler()();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

bool TerminationRequested()
{
    return gRequested != 0;
}
