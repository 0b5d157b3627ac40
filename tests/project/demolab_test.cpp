// A customer's session against the demo lab: the real program starts in-process, takes
// photos of several formats through the open dialog, assigns a format and quantities, shows
// prices, renames, previews, resets and deletes, and ends; the project folder goes with it.
#include "app/program.h"
#include "core/core.h"
#include "core/coreobjects.h"
#include "editing/uformat.h"
#include "editing/upreview.h"
#include "imaging/jpegsave.h"
#include "platform/appdir.h"
#include "platform/process.h"
#include "project/umain.h"
#include "project/uvdimage.h"
#include "tests/project/projectfixture.h"
#include "tests/support/demokit.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/nicecheckbox.h"
#include "ui/pagelistbox.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"
#include "ui/unewsreader.h"
#include "ui/utip.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct TSession {
    QStringList added;
    QString prices;
    QString count;
    QString previewCaption;
    QString renamed;
    QString projectFolder;
    int formatAfterReset = 0;
    int countAfterDelete = -1;
    int cellWidth = 0;
};

// What the customer does once the main window shows.
void WorkInMainWindow(Tfmain& main, const QStringList& photos, TSession& session)
{
    TVDImage& project = *Core().vdimage;
    AnswerNextFileDialog(photos);
    main.aaddphotos->trigger();
    session.added = project.SourcePaths();
    session.projectFolder = project.projectFolder;
    session.cellWidth = Core().config->cellWidth; // a first run: no config.ini, built-in sizes

    main.aselall->trigger();
    OnNextModal([](QWidget* window) {
        auto& format = *qobject_cast<Tfformat*>(window);
        format.cbsel->SetChecked(true);
        format.cball->SetChecked(false);
        format.lbformat->SetItemIndex(1); // 10 x 15, 0.79 zł
        format.bokClick();
    });
    main.aformat->trigger();
    project.focus = 0;
    main.UpdateStatus();
    AnswerNextInput(QStringLiteral("2"));
    main.aquantity->trigger();
    session.prices = main.slprice->Status();
    session.count = main.slcount->Status();

    AnswerNextInput(QStringLiteral("urlop"));
    main.arename->trigger();
    session.renamed = QFileInfo(project.Photo(0).name).fileName();

    OnNextModal([&](QWidget*) {
        session.previewCaption = fpreview().windowTitle();
        fpreview().reject();
    });
    main.apreview->trigger();

    TDialogAnswers answers { { kButtonOk }, { kButtonOk }, { kButtonOk } };
    main.areset->trigger();
    session.formatAfterReset = project.Photo(0).formatId;
    main.aselnone->trigger();
    project.Photo(2).selected = true;
    main.UpdateStatus();
    main.adelete->trigger();
    session.countAfterDelete = project.Count();
    main.aexit->trigger();
}

TEST(DemoLabSession, CustomerFillsAProject)
{
    TKit kit;
    ASSERT_TRUE(kit.Made());
    ASSERT_TRUE(kit.Serve());
    // The user's folders (project folders, instance lock) stay inside the kit's scratch space.
    const ScopedEnv temp("TMPDIR", kit.Temp());
    const ScopedEnv cache("XDG_CACHE_HOME", kit.Temp() + "/cache");
    const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    QDir().mkpath(kit.Temp());
    QLocale::setDefault(QLocale::c());

    QTemporaryDir photos;
    const QImage picture = TestPicture(1800, 1200);
    ASSERT_TRUE(SaveJpeg(picture, photos.filePath("IMG_0001.JPG"), 90));
    ASSERT_TRUE(TestPicture(600, 900).save(photos.filePath("portrait.png")));
    ASSERT_TRUE(TestPicture(320, 240).save(photos.filePath("scan.bmp")));
    const QStringList files { photos.filePath("IMG_0001.JPG"), photos.filePath("portrait.png"),
        photos.filePath("scan.bmp") };

    SetAppDir(kit.Program().chopped(1));
    SetProgramArguments({ QStringLiteral("vendaro") });
    TSession session;
    bool worked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            if (auto* tip = qobject_cast<Tftip*>(window)) {
                tip->accept();
            } else if (auto* news = qobject_cast<Tfnews*>(window)) {
                news->close();
            } else if (auto* main = qobject_cast<Tfmain*>(window);
                       main && !worked && !QApplication::activeModalWidget()) {
                worked = true;
                poll.stop();
                WorkInMainWindow(*main, files, session);
            }
        }
    });
    poll.start(20);
    RunProgram();
    poll.stop();
    SetProgramArguments(QApplication::arguments());
    SetAppDir(QString());

    ASSERT_TRUE(worked);
    EXPECT_EQ(session.added, files);
    EXPECT_EQ(session.cellWidth, 140 + 2 * 5);
    EXPECT_EQ(session.count, QStringLiteral("3(6)"));
    // 6 x 0.79 zł; with the 5.00 zł opening charge below 20.00 zł and 9.90 zł delivery paid ahead.
    EXPECT_EQ(session.prices, QStringLiteral("4.74 zł (~ 19.64 zł)"));
    EXPECT_EQ(session.renamed, QStringLiteral("urlop"));
    EXPECT_EQ(session.previewCaption, QStringLiteral("powiększenie: 100.0% rozdzielczość: 1795x1205 rozmiar: 8 Mb"));
    EXPECT_EQ(session.formatAfterReset, -1);
    EXPECT_EQ(session.countAfterDelete, 2);
    EXPECT_FALSE(session.projectFolder.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(session.projectFolder)) << "the project folder goes at shut-down";
}

} // namespace
