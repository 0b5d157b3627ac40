#include "platform/binrecords.h"
#include "platform/files.h"
#include "platform/timeutils.h"

#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(Files, MatchesMask)
{
    const struct {
        const char* name;
        const char* mask;
        bool match;
    } cases[] = {
        { "cor.dat", "*.dat", true },
        { "COR.DAT", "*.dat", true },
        { "cor.data", "*.dat", false },
        { "a.dat", "?.dat", true },
        { "ab.dat", "?.dat", false },
        { "noext", "*.*", true },
        { "x", "*", true },
        { "", "*", true },
        { "abc", "a*c", true },
        { "abcbc", "a*bc", true },
        { "abcd", "a*c", false },
        { "a[1].txt", "a[1].*", true },
        { "ż.jpg", "Ż*", true },
        { "aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*c", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesMask(QString::fromUtf8(c.name), QString::fromUtf8(c.mask)), c.match)
            << c.name << " " << c.mask;
}

TEST(Files, ListFilesAndSizes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.filePath("one.dat"), "12345"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("two.DAT"), ""));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("skip.txt"), "x"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath(".hidden.dat"), "x"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub.dat"));

    QStringList list { "old" };
    ListFiles(dir.filePath("*.dat"), 0, list, true);
    list.sort();
    EXPECT_EQ(list, QStringList({ dir.filePath("one.dat"), dir.filePath("two.DAT") }));
    ListFiles(dir.path() + "/*.dat", faAnyFile, list, true);
    EXPECT_EQ(list.size(), 4);
    ListFiles(dir.filePath("*"), faAnyFile, list, false);
    EXPECT_TRUE(list.contains(dir.filePath(".")) && list.contains(dir.filePath("..")));
    EXPECT_EQ(list.size(), 7);
    ListFiles(dir.filePath("missing/*"), faAnyFile, list, true);
    EXPECT_TRUE(list.isEmpty());

    EXPECT_EQ(FileSize64(dir.filePath("one.dat")), 5);
    EXPECT_EQ(FileSize64(dir.filePath("o?e.*")), 5);
    EXPECT_EQ(FileSize64(dir.filePath("two.DAT")), 0);
    EXPECT_EQ(FileSize64(dir.filePath("none")), -1);
}

TEST(Files, DeleteRemoveAndPrivateDir)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ro.txt");
    ASSERT_TRUE(WriteFileBytes(path, "x"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    EXPECT_TRUE(DeleteFileForced(path));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(DeleteFileForced(path)); // nothing to delete
    EXPECT_FALSE(DeleteFileForced(dir.path()));

    const QString folder = dir.filePath("VDTMP.1");
    ASSERT_TRUE(CreatePrivateDir(folder));
    EXPECT_FALSE(CreatePrivateDir(folder)); // never reuses an existing folder
    struct stat st { };
    ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_TRUE(WriteFileBytes(folder + "/f", "x"));
    EXPECT_FALSE(RemoveEmptyDir(folder + "/"));
    ASSERT_TRUE(QFile::remove(folder + "/f"));
    EXPECT_TRUE(RemoveEmptyDir(folder + "/"));

    QFile missing(dir.filePath("none"));
    EXPECT_FALSE(OpenForRead(missing));
    QFile created(dir.filePath("new"));
    EXPECT_TRUE(OpenForWrite(created));
}

namespace {

QByteArray Le32(qint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(v, b.data());
    return b;
}

} // namespace

TEST(BinRecords, RoundTripAndEdgeCases)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    ASSERT_TRUE(WriteLenString(buffer, QStringLiteral(u"żółw")));
    ASSERT_TRUE(WriteLenString(buffer, ""));
    ASSERT_TRUE(WriteStringList(buffer, { "a", "", QStringLiteral(u"ą") }));
    EXPECT_EQ(
        buffer.data(), Le32(4) + "\xBF\xF3\xB3w" + Le32(0) + Le32(3) + Le32(1) + "a" + Le32(0) + Le32(1) + "\xB9");

    buffer.seek(0);
    QString s;
    EXPECT_TRUE(ReadLenString(buffer, s, 4));
    EXPECT_EQ(s, QStringLiteral(u"żółw"));
    EXPECT_FALSE(ReadLenString(buffer, s, 100)); // an empty string reads as a failure
    QStringList list { "x" };
    EXPECT_TRUE(ReadStringList(buffer, true, list));
    EXPECT_EQ(list, QStringList({ "a", "", QStringLiteral(u"ą") }));
    EXPECT_FALSE(ReadStringList(buffer, false, list)); // nothing left

    // Too long: false, and only the length has been consumed.
    QBuffer longer;
    longer.setData(Le32(5) + "hello");
    longer.open(QIODevice::ReadOnly);
    s = "old";
    EXPECT_FALSE(ReadLenString(longer, s, 4));
    EXPECT_EQ(s, "");
    EXPECT_EQ(longer.pos(), 4);

    const QByteArray damaged[] = { Le32(-1), Le32(10) + "abc", QByteArray("\x01\x00", 2), Le32(2000000000) };
    for (const QByteArray& bytes : damaged) {
        QBuffer b;
        b.setData(bytes);
        b.open(QIODevice::ReadOnly);
        EXPECT_FALSE(ReadLenString(b, s, INT32_MAX));
        EXPECT_EQ(s, "");
    }

    // A capped string beyond 1 MiB reads as empty and leaves its bytes; the list goes on.
    QBuffer capped;
    capped.setData(Le32(2) + Le32(1048576) + Le32(2) + "ok");
    capped.open(QIODevice::ReadOnly);
    EXPECT_TRUE(ReadStringList(capped, true, list));
    EXPECT_EQ(list, QStringList({ "", "ok" }));
    QBuffer truncated;
    truncated.setData(Le32(3) + Le32(1) + "a");
    truncated.open(QIODevice::ReadOnly);
    EXPECT_FALSE(ReadStringList(truncated, true, list));
}

TEST(TimeUtils, ElapsedTexts)
{
    EXPECT_EQ(FormatElapsed(0), "00:00:00");
    EXPECT_EQ(FormatElapsed(3723000), "01:02:03");
    EXPECT_EQ(FormatElapsed(100LL * 3600000 + 59999), "100:00:59"); // hours do not wrap
    EXPECT_EQ(FormatElapsedMs(61007), "00:01:01.007");
    const int ms = MsSinceMidnight();
    EXPECT_TRUE(ms >= 0 && ms < 86400000);
}
