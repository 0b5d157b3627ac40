#include "app/ustartchecks.h"

#include "app/unewsreader.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/vdengine.h"
#include "tests/support/demolab.h"
#include "tests/support/testsupport.h"
#include "ui/umydialog.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kQuestion
    = QStringLiteral("Jest dostępna nowsza, lepsza wersja programu ! \rCzy chcesz pobrać teraz (ZALECANE!) ?");

// A lab offering version 99.0.0 with its installer, and a temporary folder for the download.
class UpdateCheckTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteFileBytes(
            www_.filePath("setup.sh"), "#!/bin/sh\necho installed > \"" + app_.Path("installed.txt").toUtf8() + "\"\n");
        lab_ = std::make_unique<TDemoLab>(www_.path(),
            QStringList { "--no-ftp", "--user", "lab", "--password", "pw", "--status", "/missing.sh=404" });
        ASSERT_TRUE(lab_->Started());
        engine_.user = "lab";
        engine_.pass = "pw";
        engine_.useupdates = true;
        Core().engine = &engine_;
        previousTemp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", temp_.path().toLocal8Bit());
        WriteFileBytes(app_.Path("npid.txt"), "99.0.0  (Build 1)\r\nU2\r\n");
        WriteFileBytes(app_.Path("prog.id"), "U1\r\n");
    }
    void TearDown() override
    {
        Core().engine = nullptr;
        qputenv("TMPDIR", previousTemp_);
    }
    bool Check(const QString& installer) { return UpdateCheck(app_.Path("npid.txt"), lab_->Url(installer), nullptr); }
    // The installers downloaded into the temporary folder or its folders (files, not links).
    QStringList Downloaded() const
    {
        QStringList files;
        QDirIterator it(temp_.path(), { "vdiu_*.exe" }, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    ScopedAppDir app_;
    QTemporaryDir www_;
    QTemporaryDir temp_;
    QByteArray previousTemp_;
    std::unique_ptr<TDemoLab> lab_;
    TEngine engine_;
};

TEST_F(UpdateCheckTest, DecliningLeavesEverythingAsItWas)
{
    TDialogAnswers answers { { kButtonNo } };
    EXPECT_FALSE(Check("/setup.sh"));
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_EQ(answers.Shown()[0].text, kQuestion);
    EXPECT_EQ(answers.Shown()[0].icon, diQuestion);
    EXPECT_EQ(ReadFileBytes(app_.Path("prog.id")), "U1\r\n");
    EXPECT_FALSE(lab_->WaitForOutput("GET /setup.sh", 300));
}

TEST_F(UpdateCheckTest, FailedDownloadIsReportedAndOfferedAgain)
{
    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    EXPECT_FALSE(Check("/missing.sh"));
    ASSERT_EQ(answers.Shown().size(), 2);
    EXPECT_EQ(answers.Shown()[1].text, "Nie udało się pobrać uaktualnienia, spróbuj ponownie później!");
    EXPECT_EQ(answers.Shown()[1].icon, diError);
    EXPECT_EQ(ReadFileBytes(app_.Path("prog.id")), "U1\r\n");
    EXPECT_TRUE(QDir(temp_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(UpdateCheckTest, DownloadedInstallerRunsAndTheProgramEnds)
{
    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    EXPECT_TRUE(Check("/setup.sh"));
    ASSERT_EQ(answers.Shown().size(), 2);
    EXPECT_EQ(answers.Shown()[1].text, QStringLiteral("Zostanie uruchomiony instalator nowej wersji ..."));
    EXPECT_EQ(answers.Shown()[1].icon, diInformation);
    EXPECT_EQ(ReadFileBytes(app_.Path("prog.id")), "U2\r\n");
    EXPECT_EQ(Downloaded().size(), 1);
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(app_.Path("installed.txt")) && clock.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(app_.Path("installed.txt")));
}

// Links planted in the shared temporary folder under every name the installer could take in
// the next minute never redirect the download.
TEST_F(UpdateCheckTest, PlantedLinksNeverRedirectTheDownload)
{
    const QString victim = app_.Path("victim.txt");
    WriteFileBytes(victim, "precious");
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 60; ++second) {
        const QString name = "vdiu_" + now.addSecs(second).toString("yyyyMMddhhmmss") + ".exe";
        ASSERT_TRUE(QFile::link(victim, temp_.filePath(name)));
    }
    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    EXPECT_TRUE(Check("/setup.sh"));
    EXPECT_EQ(ReadFileBytes(victim), "precious");
    const QStringList downloaded = Downloaded();
    ASSERT_EQ(downloaded.size(), 1);
    EXPECT_NE(QFileInfo(downloaded[0]).path(), temp_.path());
    EXPECT_TRUE(ReadFileBytes(downloaded[0]).startsWith("#!/bin/sh"));
}

TEST_F(UpdateCheckTest, NothingHappensWhenTheLabHasNoUpdates)
{
    engine_.useupdates = false;
    TDialogAnswers answers;
    EXPECT_FALSE(Check("/setup.sh"));
    EXPECT_TRUE(answers.Shown().isEmpty());
}

// The browser engine loads the lab's page (with the lab's account); the title follows the load.
TEST(NewsCheck, ShowsANewIdOnceAndTitlesThePageWhenLoaded)
{
    ScopedAppDir app;
    TEngine engine;
    engine.user = "lab";
    engine.pass = "pw";
    Core().engine = &engine;
    QTemporaryDir www;
    WriteFileBytes(www.filePath("news/index.html"), "<html><body><h1>Nowości</h1></body></html>");
    TDemoLab lab(www.path(), { "--no-ftp", "--user", "lab", "--password", "pw" });
    ASSERT_TRUE(lab.Started());
    WriteFileBytes(app.Path("nnid.txt"), "12\r\n");
    WriteFileBytes(app.Path("newsid.txt"), "11");

    QStringList titles;
    QString address;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* news = qobject_cast<Tfnews*>(window);
            if (!news || !news->isVisible())
                continue;
            address = news->Address();
            if (titles.isEmpty() || titles.last() != news->windowTitle())
                titles.append(news->windowTitle());
            if (news->windowTitle() == "NEWS" || clock.elapsed() > 20000)
                news->close();
        }
    });
    poll.start(20);
    NewsCheck(app.Path("newsid.txt"), app.Path("nnid.txt"), lab.Url("/news/"));
    poll.stop();

    EXPECT_EQ(address, lab.Url("/news/"));
    ASSERT_GE(titles.size(), 2) << titles.join(" | ").toStdString() << lab.Output().toStdString();
    EXPECT_EQ(titles.first(), QStringLiteral("Ładowanie news'ów ..."));
    EXPECT_EQ(titles.last(), "NEWS");
    EXPECT_EQ(ReadFileBytes(app.Path("newsid.txt")), "12");

    // Same id: nothing is shown. A news window that opens anyway is noted and closed at once,
    // so the check fails quickly instead of waiting for the page.
    bool shownAgain = false;
    poll.disconnect();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* news = qobject_cast<Tfnews*>(window); news && news->isVisible()) {
                shownAgain = true;
                news->close();
            }
        }
    });
    poll.start(20);
    NewsCheck(app.Path("newsid.txt"), app.Path("nnid.txt"), lab.Url("/news/"));
    poll.stop();
    EXPECT_FALSE(shownAgain);
    EXPECT_EQ(ReadFileBytes(app.Path("newsid.txt")), "12");
    Core().engine = nullptr;
}

} // namespace
