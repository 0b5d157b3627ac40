#include "app/openrequests.h"

#include "core/coreobjects.h"
#include "core/log.h"
#include "platform/instancechannel.h"
#include "project/umain.h"
#include "project/uvdimage.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace {

// How often waiting photos look again whether the main window is free.
constexpr int kRetryMs = 200;

class TOpenRequests : public QObject {
public:
    TOpenRequests()
    {
        connect(&server_, &TInstanceServer::PathsReceived, this, [this](const QStringList& paths) {
            Log(QStringLiteral("Another launch handed over %1 paths.").arg(paths.size()));
            Raise();
            Queue(paths);
        });
        retry_.setSingleShot(true);
        retry_.setInterval(kRetryMs);
        connect(&retry_, &QTimer::timeout, this, &TOpenRequests::Deliver);
    }

    void Listen(const QStringList& ownPaths)
    {
        if (!server_.Listen())
            Log(QStringLiteral("Can't listen for other launches."), 2);
        Queue(ownPaths);
    }

    void SetTarget(Tfmain* main)
    {
        main_ = main;
        if (!waiting_.isEmpty())
            retry_.start(0);
    }

    void Stop()
    {
        server_.Close();
        waiting_.clear();
        retry_.stop();
        main_ = nullptr;
    }

private:
    void Queue(const QStringList& paths)
    {
        waiting_ += paths;
        if (main_ && !waiting_.isEmpty())
            retry_.start(0);
    }

    // The window the customer works in comes to the front: a modal one over the main window.
    void Raise()
    {
        if (!main_)
            return;
        QWidget* window = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : main_.data();
        main_->setWindowState(main_->windowState() & ~Qt::WindowMinimized);
        window->raise();
        window->activateWindow();
    }

    void Deliver()
    {
        if (!main_ || waiting_.isEmpty())
            return;
        if (!main_->isVisible() || main_->Adding() || QApplication::activeModalWidget()
            || QApplication::activePopupWidget()) {
            retry_.start();
            return;
        }
        const QStringList paths = std::exchange(waiting_, {});
        main_->OpenPaths(paths);
        if (!Core().vdimage) // the program ended while the photos were added
            return;
        Log(QStringLiteral("Opened %1 paths; %2 photos in the project.")
                .arg(paths.size())
                .arg(Core().vdimage->Count()));
        if (main_ && !waiting_.isEmpty())
            retry_.start(0);
    }

    TInstanceServer server_;
    QPointer<Tfmain> main_;
    QStringList waiting_;
    QTimer retry_;
};

TOpenRequests& Requests()
{
    static TOpenRequests* requests = new TOpenRequests; // lives as long as the application
    return *requests;
}

} // namespace

void ListenForOpenRequests(const QStringList& ownPaths)
{
    Requests().Listen(ownPaths);
}

void DeliverOpenRequestsTo(Tfmain* main)
{
    Requests().SetTarget(main);
}

void StopOpenRequests()
{
    Requests().Stop();
}
