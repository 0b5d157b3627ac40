// Project folders: sweeping the folders of programs that were killed, and a disk without room
// for a photo's working copies.
#include "tests/project/mainwindowfixture.h"

#include "core/log.h"
#include "core/textutils.h"
#include "platform/files.h"
#include "project/projectfolder.h"
#include "tests/support/testsupport.h"
#include "ui/umydialog.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>

namespace {

// Starts a program that keeps a project folder with a file of `bytes`; returns the folder.
QString StartOwner(QProcess& owner, int bytes)
{
    owner.start(QStringLiteral(PROJECTFOLDER_CHILD), { QString::number(bytes) });
    if (!owner.waitForReadyRead(30000))
        return {};
    return QFile::decodeName(owner.readLine().trimmed());
}

TEST(ProjectFolder, SweepRemovesOnlyTheFoldersOfProgramsThatAreGone)
{
    QTemporaryDir cache;
    const ScopedEnv cacheSet("XDG_CACHE_HOME", cache.path());
    QProcess killed, running, ended;
    const QString killedFolder = StartOwner(killed, 736);
    const QString runningFolder = StartOwner(running, 5);
    const QString endedFolder = StartOwner(ended, 12);
    ASSERT_FALSE(killedFolder.isEmpty());
    EXPECT_EQ(QFileInfo(killedFolder).path(), cache.filePath("vendaro"));
    const QString own = CreateProjectFolder();
    const QString unmarked = cache.filePath("vendaro/VDTMP.000000000000");
    ASSERT_TRUE(QDir().mkpath(unmarked));

    killed.kill(); // SIGKILL: nothing of the program runs any more
    killed.waitForFinished(30000);
    ended.closeWriteChannel(); // ends without clearing its project
    ended.waitForFinished(30000);
    LogStore().Clear();
    SweepAbandonedProjectFolders();

    EXPECT_FALSE(QFileInfo::exists(killedFolder));
    EXPECT_FALSE(QFileInfo::exists(endedFolder));
    EXPECT_TRUE(LogHasLine("Removed abandoned project folder " + killedFolder + " (736 bytes)", 1));
    EXPECT_TRUE(LogHasLine("Removed abandoned project folder " + endedFolder + " (12 bytes)", 1));
    EXPECT_TRUE(QFileInfo::exists(runningFolder + "/photo.sbm"));
    EXPECT_TRUE(QFileInfo(own).isDir());
    EXPECT_TRUE(QFileInfo(unmarked).isDir()); // whose it is cannot be told

    running.closeWriteChannel();
    running.waitForFinished(30000);
    ReleaseProjectFolder(own);
    EXPECT_TRUE(QDir().rmdir(own)); // nothing is left in a released folder
}

// Photos written at the same time count against the same free space with what they have
// still to write.
TEST(ProjectFolder, SpaceClaimsCountTogether)
{
    QTemporaryDir folder;
    const QStringList first { folder.filePath("a.sbm"), folder.filePath("prev_a.sbm") };
    const QStringList second { folder.filePath("b.sbm"), folder.filePath("prev_b.sbm") };
    const int64_t free = FreeDiskSpace(folder.path());
    ASSERT_GT(free, 0);
    const int64_t bytes = free / 10 * 6; // more than half the disk's free space
    {
        const TDiskSpaceClaim a(first, bytes);
        EXPECT_TRUE(a.Granted());
        const TDiskSpaceClaim b(second, bytes);
        EXPECT_FALSE(b.Granted());
        EXPECT_EQ(b.Needed(), bytes);
        EXPECT_LT(b.Available(), free - bytes / 2);
    }
    EXPECT_TRUE(TDiskSpaceClaim(second, bytes).Granted()); // the first one is done
    EXPECT_FALSE(TDiskSpaceClaim(first, free * 2).Granted());
}

class NoRoomTest : public ::testing::Test, public TMainWindowFixture { };

// A small disk as the cache folder: a photo whose working copies do not fit is refused with
// one message, before anything of it is written, and the photos after it are not tried.
TEST_F(NoRoomTest, PhotoThatDoesNotFitStopsTheAddingWithOneMessage)
{
    QTemporaryDir disk;
    if (::mount("tmpfs", QFile::encodeName(disk.path()).constData(), "tmpfs", 0, "size=1m,mode=0700") != 0)
        GTEST_SKIP() << "mounting a small disk needs root with the right to mount (CAP_SYS_ADMIN), which a container "
                        "may withhold";
    const auto unmount = qScopeGuard([&] {
        project.Clear();
        ::umount2(QFile::encodeName(disk.path()).constData(), MNT_DETACH);
    });
    const ScopedEnv cacheSet("XDG_CACHE_HOME", disk.path());
    const QString small = f.WritePhoto(QStringLiteral("small.jpg"), 100, 80);
    const QString big = f.WritePhoto(QStringLiteral("big.jpg"), 600, 400); // 2 x 960 000 bytes
    const QString after = f.WritePhoto(QStringLiteral("after.jpg"), 100, 80);

    TDialogAnswers answers { { kButtonOk } };
    window->AddFiles({ small, big, after });

    EXPECT_EQ(project.SourcePaths(), QStringList { small });
    EXPECT_EQ(QDir(project.projectFolder).entryList(QDir::Files).size(), 2);
    ASSERT_EQ(answers.Shown().size(), 1);
    const QString text = answers.Shown()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Za mało miejsca na dysku, aby dodać zdjęcie big.jpg !\r")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(FormatByteSize(WorkingCopiesBytes({ 600, 400 }, 800), QStringLiteral("Mb"))));
    EXPECT_TRUE(text.contains("\r" + project.projectFolder + "\r"));
    EXPECT_EQ(answers.Shown()[0].icon, diError);
}

} // namespace
