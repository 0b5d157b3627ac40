#include "platform/paths.h"

#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Paths, ExpandEnvAndTempDir)
{
    QTemporaryDir dir;
    const ScopedEnv tmpdir("TMPDIR", nullptr);
    const ScopedEnv temp("TEMP", nullptr);
    const ScopedEnv tmp("TMP", nullptr);
    const ScopedEnv mine("VENDARO_X", "value");
    EXPECT_EQ(ExpandEnv("a%VENDARO_X%b"), "avalueb");
    EXPECT_EQ(ExpandEnv("%vendaro_x%"), "value"); // names ignore case, as on Windows
    EXPECT_EQ(ExpandEnv("%temp%"), "%temp%"); // unknown: unchanged
    EXPECT_EQ(ExpandEnv("100% and %VENDARO_X%"), "100% and value");
    EXPECT_EQ(ExpandEnv("%%"), "%%");
    {
        const ScopedEnv longValue("VENDARO_X", QByteArray(300, 'a').constData());
        EXPECT_EQ(ExpandEnv("%VENDARO_X%").size(), 249);
    }

    EXPECT_EQ(TempDir(), "/tmp");
    {
        const QString nested = dir.filePath("t2/");
        const ScopedEnv tmpSet("TMP", QFile::encodeName(nested).constData());
        EXPECT_EQ(TempDir(), dir.filePath("t2")); // created, without the trailing "/"
        EXPECT_TRUE(QFileInfo(dir.filePath("t2")).isDir());
        const ScopedEnv tempSet("TEMP", QFile::encodeName(dir.path()).constData());
        EXPECT_EQ(TempDir(), dir.path()); // %temp% comes before %tmp%
        const ScopedEnv tmpdirSet("TMPDIR", dir.filePath("t3/"));
        EXPECT_EQ(TempDir(), dir.filePath("t3")); // $TMPDIR comes first
    }
}

TEST(Paths, ForceDirsAndStrip)
{
    QTemporaryDir dir;
    EXPECT_TRUE(ForceDirs(dir.filePath("a/b/c/")));
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/c")).isDir());
    EXPECT_TRUE(ForceDirs(dir.filePath("a/b/c")));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("file"), "x"));
    EXPECT_FALSE(ForceDirs(dir.filePath("file/sub")));
    EXPECT_EQ(StripTrailingBackslash("/a/b/"), "/a/b");
    EXPECT_EQ(StripTrailingBackslash("/a/b"), "/a/b");
    EXPECT_EQ(StripTrailingBackslash("/"), "/");
}

TEST(Paths, SplitFileNameAndReplaceExt)
{
    const struct {
        const char* path;
        const char* folder;
        const char* name;
        const char* ext;
    } cases[] = {
        { "/a/b/photo.jpg", "/a/b", "photo", ".jpg" },
        { "/a/b/photo", "/a/b", "photo", "" },
        { "/a.d/photo", "/a.d", "photo", "" },
        { "/a/x.tar.gz", "/a", "x.tar", ".gz" },
        { "/a/p.jpg.jpg", "/a", "p", ".jpg" }, // cut at the first occurrence of the extension
        { "photo.jpg", "", "photo", ".jpg" },
        { "/photo.jpg", "/", "photo", ".jpg" },
    };
    for (const auto& c : cases) {
        const SplitPath parts = SplitFileName(c.path);
        EXPECT_EQ(parts.folder, c.folder) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        EXPECT_EQ(parts.ext, c.ext) << c.path;
    }
    EXPECT_EQ(ReplaceExt("/a/b.c/photo.jpeg", ".txt"), "/a/b.c/photo.txt");
    EXPECT_EQ(ReplaceExt("/a/b.c/photo", ".txt"), "/a/b.c/photo.txt");
}

TEST(Paths, UniqueFileName)
{
    QTemporaryDir dir;
    for (const char* name : { "a.jpg", "a_1.jpg", "a_7.jpg", "x_y.jpg", "x_.jpg", "_5.jpg", "noext" })
        ASSERT_TRUE(WriteFileBytes(dir.filePath(name), "x"));
    const struct {
        const char* name;
        const char* unique;
    } cases[] = {
        { "new.jpg", "new.jpg" },
        { "a.jpg", "a_2.jpg" },
        { "a_7.jpg", "a_8.jpg" },
        { "x_y.jpg", "x_y_1.jpg" },
        { "x_.jpg", "x__1.jpg" },
        { "_5.jpg", "_6.jpg" },
        { "noext", "noext_1" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(UniqueFileName(dir.filePath(c.name)), dir.filePath(c.unique)) << c.name;
    EXPECT_EQ(UniqueFileName(""), "");
}

// With a next number the search starts there (never below the suffix of the name itself) and
// still skips names that exist; next moves past the name given.
TEST(Paths, UniqueFileNameCountsOnFromNext)
{
    QTemporaryDir dir;
    for (const char* name : { "a.jpg", "a_1.jpg", "a_2.jpg", "a_7.jpg" })
        ASSERT_TRUE(WriteFileBytes(dir.filePath(name), "x"));
    const struct {
        const char* name;
        long long next;
        const char* unique;
        long long nextAfter;
    } cases[] = {
        { "new.jpg", 5, "new.jpg", 5 },
        { "a.jpg", 0, "a_3.jpg", 4 },
        { "a.jpg", 3, "a_3.jpg", 4 },
        { "a.jpg", 5, "a_5.jpg", 6 },
        { "a.jpg", 7, "a_8.jpg", 9 },
        { "a_7.jpg", 2, "a_8.jpg", 9 },
    };
    for (const auto& c : cases) {
        long long next = c.next;
        EXPECT_EQ(UniqueFileName(dir.filePath(c.name), next), dir.filePath(c.unique)) << c.name << " " << c.next;
        EXPECT_EQ(next, c.nextAfter) << c.name << " " << c.next;
    }
}
