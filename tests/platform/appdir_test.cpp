// Where the program's files live: the program folder while the user may write it, the user's
// data folder once not; the cache and runtime folders.
#include "platform/appdir.h"

#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

unsigned Mode(const QString& path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

} // namespace

TEST(AppDir, WritableProgramFolderKeepsEveryFile)
{
    ScopedAppDir app;
    QTemporaryDir home;
    const ScopedEnv data("XDG_DATA_HOME", home.filePath("share"));
    EXPECT_TRUE(AppDirWritable());
    for (const FileUse use : { FileUse::Read, FileUse::Write, FileUse::Update })
        EXPECT_EQ(AppPath("config\\config.ini", use), app.Path("config/config.ini"));
    EXPECT_TRUE(QFileInfo(app.Path("config")).isDir()); // made for writing
    EXPECT_FALSE(QFileInfo::exists(home.filePath("share")));
}

TEST(AppDir, ReadOnlyProgramFolderSendsWritesToTheUsersDataFolder)
{
    ScopedAppDir app;
    ASSERT_TRUE(WriteFileBytes(app.Path("config/engine.ini"), "[misc]\r\nprogname=Foto/Lab Nowak\r\n"));
    ASSERT_TRUE(WriteFileBytes(app.Path("tips.ini"), "lab"));
    ASSERT_TRUE(WriteFileBytes(app.Path("prog.id"), "A17\r\n"));
    QTemporaryDir home;
    const ScopedEnv data("XDG_DATA_HOME", home.filePath("share"));
    // No write permission bit at all: read-only even for root, who could write anyway.
    ASSERT_EQ(::chmod(QFile::encodeName(app.Path()).constData(), 0555), 0);
    const auto restore = qScopeGuard([&] { ::chmod(QFile::encodeName(app.Path()).constData(), 0755); });
    EXPECT_FALSE(AppDirWritable());

    const QString user = home.filePath("share/vendaro/Foto_Lab Nowak"); // named after the lab
    EXPECT_EQ(AppPath("config/config.ini", FileUse::Write), user + "/config/config.ini");
    for (const QString& folder : { home.filePath("share"), home.filePath("share/vendaro"), user, user + "/config" })
        EXPECT_EQ(Mode(folder), 0700u) << folder.toStdString();

    // Reading: the user's copy first, then the program folder's.
    EXPECT_EQ(AppPath("tips.ini"), app.Path("tips.ini"));
    EXPECT_EQ(AppPath("config/config.ini"), app.Path("config/config.ini"));
    ASSERT_TRUE(WriteFileBytes(AppPath("tips.ini", FileUse::Write), "user"));
    EXPECT_EQ(AppPath("tips.ini"), user + "/tips.ini");
    EXPECT_EQ(ReadFileBytes(app.Path("tips.ini")), "lab");

    // A file read and rewritten in place starts as a copy of the program folder's.
    const QString progId = AppPath("prog.id", FileUse::Update);
    EXPECT_EQ(progId, user + "/prog.id");
    EXPECT_EQ(ReadFileBytes(progId), "A17\r\n");
    EXPECT_EQ(Mode(progId) & 0200, 0200u);
    ASSERT_TRUE(WriteFileBytes(progId, "A18\r\n"));
    EXPECT_EQ(ReadFileBytes(AppPath("prog.id", FileUse::Update)), "A18\r\n"); // copied only once
    EXPECT_EQ(ReadFileBytes(app.Path("prog.id")), "A17\r\n");

    // A relative XDG_DATA_HOME is not allowed by the standard: the home folder's is used.
    const ScopedEnv relative("XDG_DATA_HOME", "relative/share");
    const ScopedEnv homeSet("HOME", home.filePath("home"));
    EXPECT_EQ(AppPath("prog.id", FileUse::Write), home.filePath("home/.local/share/vendaro/Foto_Lab Nowak/prog.id"));
}

TEST(AppDir, CacheAndRuntimeFoldersArePrivate)
{
    QTemporaryDir home;
    const ScopedEnv cache("XDG_CACHE_HOME", home.filePath("cache"));
    const ScopedEnv runtime("XDG_RUNTIME_DIR", home.path());
    EXPECT_EQ(AppPath("VDTMP.1", FileUse::Cache), home.filePath("cache/vendaro/VDTMP.1"));
    EXPECT_EQ(AppPath({}, FileUse::Cache), home.filePath("cache/vendaro"));
    EXPECT_EQ(Mode(home.filePath("cache/vendaro")), 0700u);
    EXPECT_EQ(AppPath("a.lock", FileUse::Runtime), home.filePath("vendaro/a.lock"));
    EXPECT_EQ(Mode(home.filePath("vendaro")), 0700u);
    {
        const ScopedEnv noRuntime("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(AppPath("a.lock", FileUse::Runtime), home.filePath("cache/vendaro/a.lock"));
    }
    const ScopedEnv noCache("XDG_CACHE_HOME", nullptr);
    const ScopedEnv homeSet("HOME", home.filePath("home"));
    EXPECT_EQ(AppPath({}, FileUse::Cache), home.filePath("home/.cache/vendaro"));
}
