// A customer's session against the demo lab: the real program starts in-process, takes
// photos of several formats through the open dialog, assigns a format and quantities, shows
// prices, renames, previews, resets and deletes, and ends; the project folder goes with it.
// The next start offers the project it ended with and restores it.
#include "core/core.h"
#include "core/coreobjects.h"
#include "editing/uformat.h"
#include "editing/upreview.h"
#include "imaging/jpegsave.h"
#include "project/projectfile.h"
#include "project/umain.h"
#include "project/uvdimage.h"
#include "tests/project/projectfixture.h"
#include "tests/support/demokit.h"
#include "tests/support/programrun.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/nicecheckbox.h"
#include "ui/pagelistbox.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

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
    TSavedProject state; // as the program ended
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
    session.state = SavedState(project);
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

    TSession session;
    const bool worked = RunProgramIn(kit, [&](Tfmain& main) { WorkInMainWindow(main, files, session); });

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

    // The next start offers the project the program ended with and brings it back.
    ASSERT_TRUE(QFileInfo::exists(kit.Program("project.vdp")));
    TDialogAnswers restoreAnswer { { kButtonOk } };
    TSavedProject restored;
    EXPECT_TRUE(RunProgramIn(kit, [&](Tfmain& main) {
        EXPECT_TRUE(QTest::qWaitFor([] { return Core().vdimage->Count() > 0; }, 20000)); // asked once shown
        restored = SavedState(*Core().vdimage);
        main.close();
    }));
    ASSERT_EQ(restoreAnswer.Shown().size(), 1);
    EXPECT_EQ(restoreAnswer.Shown()[0].text, QStringLiteral("Przywrócić poprzedni projekt (2 zdjęcia) ?"));
    EXPECT_EQ(restored, session.state);
    EXPECT_TRUE(QFileInfo::exists(kit.Program("project.vdp"))) << "a normal end keeps the project";
}

} // namespace
