#include "lab/startchecks.h"

#include "tests/support/testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kCurrent = QStringLiteral("2.1.5  (Build 5)");

TEST(StartChecks, VersionComparisonIgnoresTheBuild)
{
    struct Case {
        const char* offered;
        bool newer;
    };
    const Case cases[] = {
        { "2.1.6  (Build 1)", true },
        { "2.0.9  (Build 99)", false },
        { "2.1.5  (Build 7)", false },
        { "3.0.0  (Build 1)", true },
        { "2.2.0  (Build 1)", true },
        { "2.1.10  (Build 1)", true },
        { "1.9.9  (Build 1)", false },
        { "2.1.6", false },
        { "nowa wersja", false },
        { "2.x.6  (Build 1)", false },
        { "", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(QString::fromLatin1(c.offered), kCurrent), c.newer) << c.offered;
}

class UpdateDecisionTest : public testing::Test {
protected:
    bool Offered(const QByteArray& seed)
    {
        WriteFileBytes(app_.Path("npid.txt"), seed);
        return UpdateOffered(app_.Path("npid.txt"), kCurrent, app_.Path("prog.id"));
    }
    ScopedAppDir app_;
};

TEST_F(UpdateDecisionTest, VersionsDecideWithoutAnUpdateId)
{
    EXPECT_TRUE(Offered("2.1.6  (Build 1)\r\n"));
    EXPECT_FALSE(Offered("2.1.5  (Build 9)\r\n"));
    EXPECT_FALSE(Offered(""));
    EXPECT_FALSE(QFile::exists(app_.Path("prog.id")));
    EXPECT_FALSE(UpdateOffered(app_.Path("missing.txt"), kCurrent, app_.Path("prog.id")));
}

TEST_F(UpdateDecisionTest, FirstIdIsRecordedAndAChangedIdIsOffered)
{
    EXPECT_FALSE(Offered("2.1.5  (Build 5)\r\nA17\r\n"));
    EXPECT_EQ(ReadFileBytes(app_.Path("prog.id")), "A17\r\n");
    EXPECT_FALSE(Offered("2.1.5  (Build 5)\r\nA17\r\n"));
    EXPECT_TRUE(Offered("2.0.0  (Build 1)\r\nA18\r\n")); // whatever the versions say
    EXPECT_EQ(ReadFileBytes(app_.Path("prog.id")), "A17\r\n");

    ASSERT_TRUE(RecordUpdateId(app_.Path("npid.txt"), app_.Path("prog.id")));
    EXPECT_EQ(ReadFileBytes(app_.Path("prog.id")), "A18\r\n");
    EXPECT_FALSE(Offered("2.0.0  (Build 1)\nA18\n"));
}

TEST_F(UpdateDecisionTest, FirstIdWithANewerVersionIsOffered)
{
    EXPECT_TRUE(Offered("2.2.0  (Build 1)\r\nB1\r\n"));
    EXPECT_EQ(ReadFileBytes(app_.Path("prog.id")), "B1\r\n");
}

TEST(StartChecks, NewsIsShownOncePerId)
{
    ScopedAppDir app;
    const QString shown = app.Path("newsid.txt");
    const QString fetched = app.Path("nnid.txt");
    EXPECT_EQ(NewsIdToShow(shown, fetched), QString()); // nothing fetched
    WriteFileBytes(fetched, "12\r\n");
    WriteFileBytes(shown, "11");
    EXPECT_EQ(NewsIdToShow(shown, fetched), "12");
    ASSERT_TRUE(RecordShownNews(shown, "12"));
    EXPECT_EQ(ReadFileBytes(shown), "12");
    EXPECT_EQ(NewsIdToShow(shown, fetched), QString());
    QFile::remove(shown);
    EXPECT_EQ(NewsIdToShow(shown, fetched), "12");
    WriteFileBytes(fetched, "\r\n");
    EXPECT_EQ(NewsIdToShow(shown, fetched), QString());
}

TEST(StartChecks, InstallerIsStartedDetached)
{
    ScopedAppDir app;
    const QString installer = app.Path("vdiu_test.exe");
    WriteFileBytes(installer, "#!/bin/sh\necho started > \"$(dirname \"$0\")/ran.txt\"\n");
    ASSERT_TRUE(StartInstaller(installer));
    for (int i = 0; i < 100 && !QFile::exists(app.Path("ran.txt")); ++i)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(app.Path("ran.txt")));
    EXPECT_FALSE(StartInstaller(app.Path("missing.exe")));
}

// The installer goes to a fresh folder of the temporary folder that only this user may enter.
TEST(StartChecks, InstallerPathIsInAFreshPrivateFolder)
{
    QTemporaryDir temp;
    const ScopedEnv tmpdir("TMPDIR", temp.path());
    const QString first = InstallerPath();
    const QString second = InstallerPath();
    EXPECT_TRUE(first.contains(QRegularExpression("/vdiu_\\d{14}\\.exe$"))) << first.toStdString();
    const QFileInfo folder(QFileInfo(first).path());
    EXPECT_EQ(folder.path(), temp.path());
    EXPECT_TRUE(folder.isDir() && !folder.isSymLink());
    struct stat info { };
    ASSERT_EQ(::lstat(QFile::encodeName(folder.filePath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, ::geteuid());
    EXPECT_NE(QFileInfo(second).path(), folder.filePath());
    EXPECT_FALSE(QFileInfo::exists(first)); // nothing is there yet
}

} // namespace
