#include "app/program.h"

#include "app/forms.h"
#include "app/lifecycle.h"
#include "app/openrequests.h"
#include "app/termination.h"
#include "app/usplash.h"
#include "net/quietget.h"
#include "order/usendorder.h"
#include "project/projectfile.h"
#include "project/umain.h"

#include <QApplication>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <cstdlib>

int RunProgram()
{
    TForms forms;
    const auto stop = qScopeGuard(&StopOpenRequests);
    // During the start-up a signal ends every waiting loop; the start-up then tears the core
    // down and closes its window.
    WatchTerminationSignals([] {
        HttpClient().Abort();
        QCoreApplication::exit(0);
    });
    forms.fsplash->exec();
    if (forms.fsplash->Tag != 1)
        return 0;

    Tfmain* main = forms.fmain;
    WatchTerminationSignals([main] {
        HttpClient().Abort();
        if (QThread::currentThread()->loopLevel() > 1) {
            // A modal window is waiting: its caller must not run on a destroyed core, so the
            // process ends as soon as the shut-down has saved everything.
            ShutDown();
            std::_Exit(0);
        }
        main->close();
    });
    QObject::connect(main, &Tfmain::Closed, [] {
        ShutDown();
        QCoreApplication::exit(0);
    });
    StartProjectSaver();
    main->ShowPlaced();
    // Once the window is up, before the customer works: the project of the previous run.
    // Then an order the previous run left unsent.
    Tfsendorder* send = forms.fsendorder;
    QTimer::singleShot(0, main, [main, send] {
        main->OfferSavedProject(ProjectFilePath());
        main->WhileSendingOrder([send] { send->OfferUnfinishedOrders(); });
    });
    // Then the photos the program was asked to open, after whatever the restore brought back.
    DeliverOpenRequestsTo(main);
    return QApplication::exec();
}
