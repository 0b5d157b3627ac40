#include "app/ustartchecks.h"

#include "app/unewsreader.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/startchecks.h"
#include "lab/vdengine.h"
#include "net/quietget.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/process.h"
#include "ui/umydialog.h"
#include "ui/unet.h"

#include <QApplication>
#include <QFileInfo>

#include <exception>

bool UpdateCheck(const QString& idFile, const QString& installerAddress, QWidget* owner)
{
    const TEngine* engine = Core().engine;
    if (!engine || !engine->useupdates)
        return false;
    const QString progId = AppPath(kInstalledUpdateId, FileUse::Update);
    if (!UpdateOffered(idFile, VersionString(ExecutablePath(), QStringLiteral("Build ")), progId))
        return false;
    if (!fdialog().Question(QStringLiteral("Jest dostępna nowsza, lepsza wersja programu ! \rCzy chcesz pobrać "
                                           "teraz (ZALECANE!) ?")))
        return false;

    const QString installer = InstallerPath();
    fnet().ShowProgress(owner, true, true);
    const bool downloaded = !installer.isEmpty() && QuietGetHTTP(installerAddress, installer);
    fnet().close();
    if (!downloaded) {
        if (!installer.isEmpty())
            RemoveEmptyDir(QFileInfo(installer).path());
        fdialog().Error(QStringLiteral("Nie udało się pobrać uaktualnienia, spróbuj ponownie później!"));
        return false;
    }
    fdialog().Information(QStringLiteral("Zostanie uruchomiony instalator nowej wersji ..."));
    // The id is recorded only once the installer runs, so an installer that cannot start is
    // offered again at the next start.
    if (!StartInstaller(installer)) {
        Log("Can't start the installer " + installer, 3);
        fdialog().Error(QStringLiteral("Nie udało się uruchomić instalatora nowej wersji !"));
        return false;
    }
    RecordUpdateId(idFile, progId);
    return true;
}

void NewsCheck(const QString& shownFile, const QString& fetchedFile, const QString& newsAddress)
{
    const QString id = NewsIdToShow(shownFile, fetchedFile);
    if (id.isEmpty())
        return;
    RecordShownNews(shownFile, id);
    try {
        // Owned by the waiting start-up window, so that window managers keep it on top.
        Tfnews news(newsAddress, QApplication::activeModalWidget());
        news.exec();
    } catch (const std::exception& e) {
        Log(QStringLiteral("News window: ") + QString::fromLocal8Bit(e.what()), 2);
    }
}
