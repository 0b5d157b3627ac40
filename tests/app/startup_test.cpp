// The program started in-process against a demo lab kit served by the test.
#include "app/program.h"
#include "app/unewsreader.h"
#include "app/usettings.h"
#include "app/usplash.h"
#include "app/utip.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "editing/correctionsfile.h"
#include "editing/ucrop.h"
#include "editing/uedit.h"
#include "order/uhistory.h"
#include "platform/appdir.h"
#include "platform/inifile.h"
#include "platform/instancechannel.h"
#include "platform/process.h"
#include "project/projectfile.h"
#include "project/umain.h"
#include "project/uvdimage.h"
#include "skin/skinner.h"
#include "tests/support/demokit.h"
#include "tests/support/testsupport.h"
#include "ui/appevents.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/mousedpanel.h"
#include "ui/nicecheckbox.h"
#include "ui/pictures.h"
#include "ui/umydialog.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <future>

#include <sys/stat.h>

namespace {

const QStringList kTemporaryFiles = { "engine_settmp.ini", "formatsTMP.txt", "shopsTMP.txt", "nnid.txt", "npid.txt" };
const QString kBadStamp = QStringLiteral("Błąd zabezpieczeń: Nieprawidłowy podpis cyfrowy.");

struct TRun {
    QString failure; // the splash's message when it ended with "zamknij"
    bool mainShown = false;
    QString caption;
    bool logActionVisible = false;
    QStringList tips;
    QString newsTitle;
    QList<TShownDialog> dialogs;
    int coreDestroyed = 0; // "Destroying config..." lines
    QStringList storedSets; // offered by the edit window
    bool firstEditPage = false; // the edit window shows its first page
    bool qualityLabelRed = false; // the crop window's "JAKOŚĆ !"
    bool editingActions = false; // edit and crop offered, saving copies not
    bool orderActions = false; // sending the order, the provider and the history offered
    bool historyListColours = false; // both history lists in the skin's list colours
    bool settingsAction = false; // "Ustawienia ..." offered
    QString settingsShownBefore; // the splash's message while the settings window showed
};

// Runs the program with the switches, answering its windows as a user would; the main window
// is closed as soon as it shows, or once mainDone says so.
TRun RunVendaro(const TKit& kit, const QStringList& switches, std::initializer_list<TDialogAnswer> answers = {},
    const std::function<bool()>& mainDone = {})
{
    SetAppDir(kit.Program().chopped(1));
    SetProgramArguments(QStringList { "vendaro" } + switches);
    LogStore().Clear();
    TDialogAnswers dialogAnswers(answers);
    TRun run;
    QElapsedTimer newsClock;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            if (auto* splash = qobject_cast<Tfsplash*>(window); splash && splash->berror->isVisible()) {
                run.failure = splash->linfo->text();
                splash->berrorClick();
            } else if (auto* settings = qobject_cast<Tfsettings*>(window)) {
                // The user turns passive mode on and accepts.
                run.settingsShownBefore = fsplash().linfo->text();
                settings->cbpassive->click();
                settings->bokClick();
            } else if (auto* tip = qobject_cast<Tftip*>(window)) {
                run.tips.append(tip->ltip->text());
                tip->accept();
            } else if (auto* news = qobject_cast<Tfnews*>(window)) {
                if (!newsClock.isValid())
                    newsClock.start();
                if (news->windowTitle() == "NEWS" || newsClock.elapsed() > 15000) {
                    run.newsTitle = news->windowTitle();
                    news->close();
                }
            } else if (auto* main = qobject_cast<Tfmain*>(window)) {
                if (mainDone && !mainDone())
                    continue;
                run.mainShown = true;
                run.caption = main->windowTitle();
                run.logActionVisible = main->alog->isVisible();
                run.storedSets = fedit().StoredCorrections().Names();
                run.firstEditPage = !fedit().pages[0]->isHidden() && fedit().pages[1]->isHidden();
                run.qualityLabelRed = fcrop().lgranularity->palette().color(QPalette::Window) == QColor(Qt::red);
                run.editingActions
                    = main->aeditphoto->isVisible() && main->acrop->isVisible() && !main->asave->isVisible();
                run.orderActions
                    = main->asendorder->isVisible() && main->aprovider->isVisible() && main->ahistory->isVisible();
                const TSkinner& skinner = *Core().skinner;
                run.historyListColours = true;
                for (const QListWidget* list : { fhistory().lbhistory, fhistory().lbdet })
                    run.historyListColours = run.historyListColours
                        && list->palette().color(QPalette::Base) == skinner.GetColor("backgroundtext")
                        && list->palette().color(QPalette::Text) == skinner.GetColor("text");
                run.settingsAction = main->asettings->isVisible();
                main->close();
            }
        }
    });
    poll.start(20);
    RunProgram();
    poll.stop();
    run.dialogs = dialogAnswers.Shown();
    run.coreDestroyed = int(LogStore().Lines().count(QStringLiteral("Destroying config...")));
    SetProgramArguments(QApplication::arguments());
    return run;
}

class StartupTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kit_.Made());
        previousTemp_ = qgetenv("TEMP");
        qputenv("TEMP", kit_.Temp().toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("TEMP", previousTemp_);
        SetAppDir(QString());
    }
    void ExpectFailure(const TRun& run, const QString& message)
    {
        EXPECT_EQ(run.failure, message);
        EXPECT_FALSE(run.mainShown);
        EXPECT_EQ(run.coreDestroyed, 1);
        EXPECT_EQ(kit_.ProgramFiles("error_log*.txt").size(), 1);
        for (const QString& name : kTemporaryFiles)
            EXPECT_FALSE(QFile::exists(kit_.Program(name))) << name.toStdString();
    }

    TKit kit_;
    // The user's own folders, inside the kit's scratch space.
    const QString dataHome_ = kit_.Temp() + "/data";
    const ScopedEnv data_ { "XDG_DATA_HOME", dataHome_ };
    const ScopedEnv cache_ { "XDG_CACHE_HOME", kit_.Temp() + "/cache" };
    const ScopedEnv runtime_ { "XDG_RUNTIME_DIR", nullptr };
    QByteArray previousTemp_;
};

TEST_F(StartupTest, SucceedsUpToTheMainWindowAndShutsDown)
{
    ASSERT_TRUE(kit_.Serve());
    SetAppDir(kit_.Program().chopped(1));
    Corrections warm;
    InitCorrections(warm);
    warm.inten = 10;
    ASSERT_FALSE(WriteCorrectionsFile(QStringLiteral("Ciepło"), warm).isEmpty());
    const TRun run = RunVendaro(kit_, {});
    EXPECT_TRUE(run.failure.isEmpty()) << run.failure.toStdString();
    EXPECT_TRUE(run.mainShown);
    EXPECT_EQ(run.storedSets, QStringList { QStringLiteral("Ciepło") });
    EXPECT_TRUE(run.firstEditPage);
    EXPECT_TRUE(run.qualityLabelRed);
    EXPECT_TRUE(run.editingActions);
    EXPECT_TRUE(run.orderActions);
    EXPECT_TRUE(run.historyListColours);
    EXPECT_TRUE(run.settingsAction);
    EXPECT_EQ(run.caption, "Fotolab Demo");
    EXPECT_EQ(ApplicationTitle(), "Fotolab Demo");
    // Captions are exactly the program's own: Qt's display name, which the window system
    // appends to each of them, stays unset.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_FALSE(run.logActionVisible);
    EXPECT_EQ(run.tips.size(), 1);
    EXPECT_EQ(run.newsTitle, "NEWS");
    EXPECT_TRUE(run.dialogs.isEmpty());
    EXPECT_EQ(run.coreDestroyed, 1);
    EXPECT_TRUE(LogHasLine(QStringLiteral("Checking skin ..."), 0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("10 formats total."), 0));
    EXPECT_FALSE(LogHasLine(QStringLiteral("Can't make cursor !")));
    for (int slot = 5; slot <= 12; ++slot)
        EXPECT_FALSE(CursorForSlot(slot).pixmap().isNull()) << slot;
    EXPECT_TRUE(kit_.ProgramFiles("error_log*.txt").isEmpty());
    EXPECT_TRUE(kit_.ProgramFiles("session_log*.txt").isEmpty());
    for (const QString& name : kTemporaryFiles)
        EXPECT_FALSE(QFile::exists(kit_.Program(name))) << name.toStdString();
    EXPECT_EQ(ReadFileBytes(kit_.Program("newsid.txt")), "1");
    EXPECT_EQ(ReadFileBytes(kit_.Program("prog.id")), "DEMO-1\r\n");
    EXPECT_TRUE(QFile::exists(kit_.Program("config/config.ini")));

    // The next start does not show the same news again.
    const TRun again = RunVendaro(kit_, {});
    EXPECT_TRUE(again.mainShown);
    EXPECT_TRUE(again.newsTitle.isEmpty());
}

// A system-wide install: nobody may write the program folder, so the program keeps what it
// writes in the user's data folder, and the folder stays exactly as it was.
TEST_F(StartupTest, ReadOnlyProgramFolderIsLeftAsItIs)
{
    ASSERT_TRUE(kit_.Serve());
    const QString program = kit_.Program().chopped(1);
    SetTreeWritable(program, false);
    const auto restore = qScopeGuard([&] { SetTreeWritable(program, true); });
    const QStringList before = Snapshot(program);

    const TRun run = RunVendaro(kit_, { "-savelog" });
    EXPECT_TRUE(run.failure.isEmpty()) << run.failure.toStdString();
    EXPECT_TRUE(run.mainShown);
    EXPECT_EQ(run.caption, "Fotolab Demo");
    EXPECT_EQ(run.tips.size(), 1);
    EXPECT_EQ(run.newsTitle, "NEWS");
    EXPECT_TRUE(run.dialogs.isEmpty());
    EXPECT_TRUE(LogHasLine(QStringLiteral("Checking skin ..."), 0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("10 formats total."), 0));
    const TRun again = RunVendaro(kit_, {});
    EXPECT_TRUE(again.mainShown);
    EXPECT_TRUE(again.newsTitle.isEmpty()); // the news id shown is kept for the user

    EXPECT_EQ(Snapshot(program), before);
    const QString data = dataHome_ + "/vendaro/Fotolab Demo";
    struct stat folder { };
    ASSERT_EQ(::stat(QFile::encodeName(data).constData(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_TRUE(QFileInfo(data + "/config/config.ini").isFile());
    EXPECT_TRUE(QFileInfo(data + "/history").isDir());
    EXPECT_TRUE(ReadFileBytes(data + "/tips.ini").contains("pos=2")); // the next tip, in the user's copy
    EXPECT_EQ(ReadFileBytes(data + "/newsid.txt"), "1");
    EXPECT_EQ(ReadFileBytes(data + "/prog.id"), "DEMO-1\r\n");
    EXPECT_EQ(QDir(data).entryList({ "session_log*.txt" }, QDir::Files).size(), 1);
    for (const QString& name : kTemporaryFiles)
        EXPECT_FALSE(QFile::exists(data + "/" + name)) << name.toStdString();
}

// Photos named on the command line join the project once the main window is up, after the
// project of the previous run that the customer chose to restore; a folder gives its photos.
TEST_F(StartupTest, PhotosOnTheCommandLineFollowTheRestoredProject)
{
    const QString photos = kit_.Temp() + "/photos";
    for (const QString name : { "old.jpg", "new.jpg", "album/b.png", "album/a.jpg" }) {
        QDir().mkpath(QFileInfo(photos + "/" + name).path());
        QImage photo(64, 48, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        ASSERT_TRUE(photo.save(photos + "/" + name));
    }
    ASSERT_TRUE(kit_.Serve());
    SetAppDir(kit_.Program().chopped(1));
    TSavedProject previous;
    previous.photos.push_back({ photos + "/old.jpg", photos + "/old.jpg" });
    ASSERT_TRUE(WriteProjectFile(ProjectFilePath(), previous));

    QStringList sources;
    const TRun run = RunVendaro(kit_, { "-keeptmp", photos + "/new.jpg", photos + "/album" }, { { kButtonOk } }, [&] {
        if (Core().vdimage->Count() < 4)
            return false;
        for (const TSavedPhoto& photo : SavedState(*Core().vdimage).photos)
            sources << photo.sourcePath;
        return true;
    });
    EXPECT_TRUE(run.mainShown);
    ASSERT_EQ(run.dialogs.size(), 1);
    EXPECT_EQ(run.dialogs[0].text, QStringLiteral("Przywrócić poprzedni projekt (1 zdjęcie) ?"));
    EXPECT_EQ(sources,
        QStringList({ photos + "/old.jpg", photos + "/new.jpg", photos + "/album/a.jpg", photos + "/album/b.png" }));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Opened 2 paths; 4 photos in the project.")));
}

// A later launch's photos wait while a modal window is open, and join the project once it
// closes.
TEST_F(StartupTest, HandedOverPhotosWaitForTheModalWindow)
{
    const QString photo = kit_.Temp() + "/later.jpg";
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkYellow);
    ASSERT_TRUE(picture.save(photo));
    ASSERT_TRUE(kit_.Serve());

    QPointer<QDialog> dialog;
    std::future<bool> handed;
    QElapsedTimer open;
    int addedWhileOpen = 0;
    QStringList sources;
    const TRun run = RunVendaro(kit_, {}, {}, [&] {
        if (!open.isValid()) { // a window of the program's own stands open, then a launch hands over
            open.start();
            QTimer::singleShot(0, [&] {
                QDialog modal(&fmain());
                dialog = &modal;
                modal.exec();
            });
            handed = std::async(std::launch::async, [&] { return HandToRunningInstance({ photo }, 10000); });
            return false;
        }
        addedWhileOpen = std::max(addedWhileOpen, dialog ? Core().vdimage->Count() : 0);
        if (dialog && handed.valid() && handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready
            && open.elapsed() > 1000)
            dialog->accept();
        if (dialog || Core().vdimage->Count() < 1)
            return false;
        for (const TSavedPhoto& saved : SavedState(*Core().vdimage).photos)
            sources << saved.sourcePath;
        return true;
    });
    EXPECT_TRUE(run.mainShown);
    ASSERT_TRUE(handed.valid());
    EXPECT_TRUE(handed.get());
    EXPECT_EQ(addedWhileOpen, 0);
    EXPECT_EQ(sources, QStringList { photo });
    EXPECT_TRUE(LogHasLine(QStringLiteral("Another launch handed over 1 paths.")));
}

TEST_F(StartupTest, SwitchesKeepFilesSkipTheSkinAndSaveTheSessionLog)
{
    ASSERT_TRUE(kit_.Serve());
    const TRun run = RunVendaro(kit_, { "-keeptmp", "-NoSkin", "-savelog", "-log" });
    EXPECT_TRUE(run.mainShown);
    EXPECT_TRUE(run.logActionVisible);
    EXPECT_FALSE(LogHasLine(QStringLiteral("Checking skin ...")));
    for (const QString& name : kTemporaryFiles)
        EXPECT_TRUE(QFile::exists(kit_.Program(name))) << name.toStdString();
    const QStringList sessionLogs = kit_.ProgramFiles("session_log*.txt");
    ASSERT_EQ(sessionLogs.size(), 1);
    const QByteArray session = ReadFileBytes(kit_.Program(sessionLogs.front()));
    EXPECT_TRUE(session.endsWith("[ ]: Deinitializing core ...\r\n")) << session.right(200).toStdString();
    EXPECT_FALSE(session.contains("Destroying"));
    EXPECT_EQ(run.coreDestroyed, 1);
}

TEST_F(StartupTest, BadEngineStampStops)
{
    kit_.Edit(kit_.Program("config/engine.ini"), "progname=Fotolab Demo", "progname=Inny Fotolab", false);
    ASSERT_TRUE(kit_.Serve());
    const TRun run = RunVendaro(kit_, {}, { { kButtonOk } });
    ExpectFailure(run, kBadStamp);
    ASSERT_EQ(run.dialogs.size(), 1);
    EXPECT_TRUE(run.dialogs[0].text.contains("Podpis cyfrowy jest uszkodzony"));
    EXPECT_EQ(run.dialogs[0].icon, diError);
}

TEST_F(StartupTest, UnusableEngineConfigurationStops)
{
    kit_.Edit(kit_.Program("config/engine.ini"), "orderpath=/orders", "orderpath=", true);
    ASSERT_TRUE(kit_.Serve());
    ExpectFailure(RunVendaro(kit_, {}), QStringLiteral("Błąd: Nie można zainicjować aplikacji (błąd #2)"));
}

TEST_F(StartupTest, BadSettingsStampStops)
{
    kit_.Edit(kit_.Www("engine_set.ini"), "outputdpi=300", "outputdpi=600", false);
    ASSERT_TRUE(kit_.Serve());
    const TRun run = RunVendaro(kit_, {}, { { kButtonOk } });
    ExpectFailure(run, kBadStamp);
    ASSERT_EQ(run.dialogs.size(), 1);
    EXPECT_TRUE(run.dialogs[0].text.contains("Podpis cyfrowy ustawień jest uszkodzony"));
}

TEST_F(StartupTest, UnusableSettingsStop)
{
    kit_.Edit(kit_.Www("engine_set.ini"), "outputdpi=300", "outputdpi=50", true);
    ASSERT_TRUE(kit_.Serve());
    ExpectFailure(RunVendaro(kit_, {}), QStringLiteral("Błąd: Nie można zainicjować aplikacji (błąd #3)"));
}

TEST_F(StartupTest, UnreachableSettingsOfferTheConnectionSettingsAndStop)
{
    // No server runs: the settings address refuses the connection. "OK" opens the settings
    // window, saves what it stored and asks for a restart; "NIE" stops at once.
    const struct {
        int answer;
        bool settingsShown;
        const char* failure;
    } cases[] = {
        { kButtonOk, true, "Uruchom program ponownie !" },
        { kButtonNo, false, "Nie można pobrać ustawień programu !" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        TKit kit;
        ASSERT_TRUE(kit.Made());
        const TRun run = RunVendaro(kit, {}, { { c.answer } });
        EXPECT_EQ(run.failure, QString::fromUtf8(c.failure));
        EXPECT_FALSE(run.mainShown);
        EXPECT_EQ(run.coreDestroyed, 1);
        EXPECT_EQ(kit.ProgramFiles("error_log*.txt").size(), 1);
        ASSERT_EQ(run.dialogs.size(), 1);
        EXPECT_TRUE(run.dialogs[0].text.startsWith("Nie udało się pobrać ustawień programu z internetu !\r"));
        EXPECT_EQ(run.dialogs[0].icon, diExclamation);
        // The window showed before the failure did, and its changes reached config.ini.
        EXPECT_EQ(!run.settingsShownBefore.isNull(), c.settingsShown);
        EXPECT_NE(run.settingsShownBefore, run.failure);
        EXPECT_EQ(TIniFile(kit.Program("config/config.ini")).ReadBool("net", "passive", false), c.settingsShown);
    }
}

TEST_F(StartupTest, CataloguesThatCannotBeFetchedOrLoadedStop)
{
    struct Case {
        QStringList faults;
        QString file;
        QByteArray from, to;
        QString message;
    };
    const Case cases[] = {
        { { "--status", "/formats.txt=404" }, {}, {}, {}, QStringLiteral("Nie można pobrać formatów !") },
        { {}, "formats.txt", "2|10 x 15|79|", "2|10 x 15|79 gr|", QStringLiteral("Nie można załadować formatów !") },
        { { "--status", "/shops.txt=500" }, {}, {}, {}, QStringLiteral("Nie można pobrać listy sklepów !") },
        { {}, "shops.txt", "|1|1|0|0|0\r\n", "|1|1|0\r\n", QStringLiteral("Nie można załadować listy sklepów !") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        TKit kit;
        ASSERT_TRUE(kit.Made());
        if (!c.file.isEmpty())
            kit.Edit(kit.Www(c.file), c.from, c.to, false);
        ASSERT_TRUE(kit.Serve(c.faults));
        const TRun run = RunVendaro(kit, {});
        EXPECT_EQ(run.failure, c.message);
        EXPECT_FALSE(run.mainShown);
        EXPECT_EQ(run.coreDestroyed, 1);
        EXPECT_EQ(kit.ProgramFiles("error_log*.txt").size(), 1);
    }
}

TEST_F(StartupTest, StartedInstallerEndsTheProgram)
{
    WriteFileBytes(kit_.Www("seeds/npid.txt"), "99.0.0  (Build 1)\r\nDEMO-2\r\n");
    WriteFileBytes(kit_.Www("update/vendaro-setup.sh"),
        "#!/bin/sh\necho ran > \"" + kit_.Program("installer-ran.txt").toUtf8() + "\"\n");
    ASSERT_TRUE(kit_.Serve());
    const TRun run = RunVendaro(kit_, {}, { { kButtonOk }, { kButtonOk } });
    EXPECT_FALSE(run.mainShown);
    EXPECT_TRUE(run.failure.isEmpty());
    EXPECT_EQ(run.coreDestroyed, 1);
    ASSERT_EQ(run.dialogs.size(), 2);
    EXPECT_EQ(run.dialogs[1].text, QStringLiteral("Zostanie uruchomiony instalator nowej wersji ..."));
    EXPECT_TRUE(kit_.ProgramFiles("error_log*.txt").isEmpty());
    EXPECT_EQ(ReadFileBytes(kit_.Program("prog.id")), "DEMO-2\r\n");
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(kit_.Program("installer-ran.txt")) && clock.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(kit_.Program("installer-ran.txt")));
}

} // namespace
