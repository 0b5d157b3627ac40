#include "app/startup.h"

#include "app/lifecycle.h"
#include "app/openrequests.h"
#include "app/termination.h"
#include "app/usettings.h"
#include "app/usplash.h"
#include "app/ustartchecks.h"
#include "app/utip.h"
#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "editing/ucrop.h"
#include "editing/uedit.h"
#include "lab/formats.h"
#include "lab/listfile.h"
#include "lab/startchecks.h"
#include "lab/vdengine.h"
#include "net/labfetch.h"
#include "net/quietget.h"
#include "order/uhistory.h"
#include "platform/appdir.h"
#include "platform/instancechannel.h"
#include "platform/openrequest.h"
#include "platform/process.h"
#include "platform/timeutils.h"
#include "project/umain.h"
#include "skin/skinner.h"
#include "ui/appevents.h"
#include "ui/hotlabel.h"
#include "ui/image.h"
#include "ui/pictures.h"
#include "ui/umydialog.h"
#include "ui/widgetcolors.h"

#include <QApplication>
#include <QElapsedTimer>

namespace {

// How long a second launch waits for the running instance to take its photos.
constexpr int kHandOverMs = 5000;
const QString kBadStamp = QStringLiteral("Błąd zabezpieczeń: Nieprawidłowy podpis cyfrowy.");

class TStartup {
public:
    explicit TStartup(Tfsplash& splash)
        : splash_(splash)
    {
    }

    void Run()
    {
        Log(QStringLiteral("tstartup trigerred."));
        clock_.start();
        const QStringList paths = PathsFromArguments(ProgramArguments());
        if (AnotherInstanceRunning()) {
            if (!paths.isEmpty() && HandToRunningInstance(paths, kHandOverMs))
                Log(QStringLiteral("Handed %1 paths to the running instance.").arg(paths.size()));
            else
                fdialog().Error(QStringLiteral("Program jest już uruchomiony !"));
            splash_.Finish();
            return;
        }
        ListenForOpenRequests(paths);
        if (!BuildCore() || Stopped())
            return;
        ApplySkin();
        PrepareEditingWindows();
        PrepareHistoryWindow();
        if (!LoadLabConfig() || !LoadSettings() || Stopped() || Updated() || Stopped())
            return;
        splash_.AppendStatus(QStringLiteral(".."));
        if (Stopped() || !LoadFormats() || Stopped())
            return;
        splash_.AppendStatus(QStringLiteral("..."));
        if (Stopped() || !LoadShops() || Stopped())
            return;
        splash_.AppendStatus(QStringLiteral("."));
        if (Stopped())
            return;
        TEngine& engine = *Core().engine;
        if (engine.usenews)
            QuietGetHTTP(engine.newsseed, AppPath(kNewsSeedTmp, FileUse::Write), kLabFileMaxBytes);
        Log("Application initialized in " + FormatElapsedMs(clock_.elapsed()), 1);
        NewsCheck(AppPath(kShownNewsId, FileUse::Update), AppPath(kNewsSeedTmp), engine.newspath);
        if (Stopped())
            return;
        if (Core().config->fShowTip)
            ftip().exec();
        if (Stopped())
            return;
        splash_.Tag = 1;
        splash_.Finish();
    }

private:
    // A termination signal ends the start-up where it stands, with the core torn down.
    bool Stopped()
    {
        if (!TerminationRequested())
            return false;
        if (splash_.coreReady) {
            Log(QStringLiteral("Deinitializing CORE ..."));
            CoreDeinit();
            splash_.coreReady = false;
        }
        splash_.Finish();
        return true;
    }

    bool BuildCore()
    {
        Log(QStringLiteral("Initializing CORE ..."));
        if (!CoreInit()) {
            Log(QStringLiteral("INITCORE FAILED"), 3);
            splash_.StartupFail(QStringLiteral("Błąd: Nie można zainicjować aplikacji (błąd #1)"));
            return false;
        }
        splash_.coreReady = true;
        Log(QStringLiteral("Setting defaults ..."));
        fmain().isplash->SetPicture(splash_.isplash->Picture());
        SetSplashPicture(splash_.isplash->Picture());
        return true;
    }

    void ApplySkin()
    {
        if (HasSwitch(QStringLiteral("-noskin")))
            return;
        Log(QStringLiteral("Checking skin ..."));
        const QString path = TConfig::SelectedSkinFile();
        if (path.isEmpty() || !Core().skinner->LoadFromFile(path))
            return;
        for (QWidget* window : QApplication::topLevelWidgets())
            Core().skinner->ApplyToForm(window);
    }

    static void PrepareEditingWindows()
    {
        THotLabel* quality = fcrop().lgranularity;
        SetBackgroundColor(quality, Qt::red);
        SetTextColor(quality, Qt::white);
        QFont font = quality->font();
        font.setBold(true);
        quality->setFont(font);
        fedit().SelectPage(1);
        fedit().ScanStoredCorrections();
    }

    // Skinned or not, the history window's lists take the skin's list colours.
    static void PrepareHistoryWindow()
    {
        const TSkinner& skinner = *Core().skinner;
        fhistory().SetListColors(
            skinner.GetColor(QStringLiteral("backgroundtext")), skinner.GetColor(QStringLiteral("text")));
    }

    bool LoadLabConfig()
    {
        Log(QStringLiteral("Initializing engine ..."));
        TEngine& engine = *Core().engine;
        const int result = engine.LoadLabConfig();
        if (result == TEngine::kBadStamp) {
            splash_.StartupFail(kBadStamp);
            fdialog().Error(QStringLiteral("UWAGA: System zabezpieczeń wykrył krytyczny błąd !\rPodpis cyfrowy jest "
                                           "uszkodzony lub nieprawidłowy, należy ponownie pobrać i zainstalować "
                                           "aplikację !"));
            return false;
        }
        if (result < 0) {
            splash_.StartupFail(QStringLiteral("Błąd: Nie można zainicjować aplikacji (błąd #2)"));
            return false;
        }
        SetApplicationTitle(engine.progname);
        splash_.setWindowTitle(engine.progname);
        fmain().setWindowTitle(engine.progname);
        Log(QStringLiteral("Loading configuration ..."));
        Core().config->Load(fmain().font());
        return true;
    }

    bool LoadSettings()
    {
        TEngine& engine = *Core().engine;
        splash_.SetStatus(QStringLiteral("Pobieranie ustawień ..."));
        if (Stopped())
            return false;
        if (!FetchSettings(engine)) {
            if (Stopped())
                return false;
            // "OK" opens the connection settings, which take effect at the next start.
            const bool configure = fdialog().QuestionWarning(
                QStringLiteral("Nie udało się pobrać ustawień programu z internetu !\rJeśli łączysz się z internetem "
                               "np. poprzez proxy możesz skonfigurować swoje połączenie wybierając \"OK\"."));
            if (Stopped())
                return false;
            if (!configure) {
                splash_.StartupFail(QStringLiteral("Nie można pobrać ustawień programu !"));
                return false;
            }
            fsettings().exec();
            if (Stopped())
                return false;
            Core().config->Save();
            splash_.StartupFail(QStringLiteral("Uruchom program ponownie !"));
            return false;
        }
        const int result = engine.LoadSettings();
        if (result == TEngine::kBadStamp) {
            splash_.StartupFail(kBadStamp);
            fdialog().Error(QStringLiteral("UWAGA: System zabezpieczeń wykrył krytyczny błąd !\rPodpis cyfrowy "
                                           "ustawień jest uszkodzony lub nieprawidłowy, należy ponownie pobrać i "
                                           "zainstalować aplikację !"));
            return false;
        }
        if (result < 0) {
            splash_.StartupFail(QStringLiteral("Błąd: Nie można zainicjować aplikacji (błąd #3)"));
            return false;
        }
        return true;
    }

    // True when an update installer was started and the program ends.
    bool Updated()
    {
        const TEngine& engine = *Core().engine;
        if (!engine.useupdates
            || !QuietGetHTTP(engine.updateseed, AppPath(kUpdateSeedTmp, FileUse::Write), kLabFileMaxBytes)
            || !UpdateCheck(AppPath(kUpdateSeedTmp), engine.updatepath, &splash_))
            return false;
        CoreDeinit();
        splash_.coreReady = false;
        splash_.Finish();
        return true;
    }

    bool LoadFormats()
    {
        TEngine& engine = *Core().engine;
        if (!FetchFormats(engine)) {
            if (!Stopped())
                splash_.StartupFail(QStringLiteral("Nie można pobrać formatów !"));
            return false;
        }
        if (!Core().formats->LoadFormats(engine.formatsSource)) {
            splash_.StartupFail(QStringLiteral("Nie można załadować formatów !"));
            return false;
        }
        return true;
    }

    bool LoadShops()
    {
        TEngine& engine = *Core().engine;
        if (!engine.shopsSource.isEmpty() && !FetchShopList(engine)) {
            if (!Stopped())
                splash_.StartupFail(QStringLiteral("Nie można pobrać listy sklepów !"));
            return false;
        }
        if (!engine.BuildShopList()) {
            splash_.StartupFail(QStringLiteral("Nie można załadować listy sklepów !"));
            return false;
        }
        return true;
    }

    Tfsplash& splash_;
    QElapsedTimer clock_;
};

} // namespace

void RunStartupSequence(Tfsplash& splash)
{
    TStartup(splash).Run();
}
