// Working copies: exact round trip, the header layout, refusal of files that do not add up, and
// rows read a band at a time.
#include "imaging/workingcopy.h"
#include "tests/imaging/testpictures.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

QByteArray Header(qint32 width, qint32 height, qint32 bits, quint32 magic = kWorkingCopyMagic)
{
    QByteArray header(16, '\0');
    auto* b = reinterpret_cast<uchar*>(header.data());
    qToLittleEndian(magic, b);
    qToLittleEndian(width, b + 4);
    qToLittleEndian(height, b + 8);
    qToLittleEndian(bits, b + 12);
    return header;
}

} // namespace

TEST(WorkingCopy, RoundTripKeepsEveryByteIncludingAlpha)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("w.sbm");
    const QImage picture = RandomPicture(37, 23);
    ASSERT_TRUE(SaveWorkingBitmap(picture, path));
    const QByteArray bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 16 + 37 * 23 * 4);
    EXPECT_EQ(bytes.left(16), Header(37, 23, 32));
    EXPECT_EQ(bytes.mid(16, 4), QByteArray(reinterpret_cast<const char*>(picture.constScanLine(0)), 4)); // B, G, R, A

    QImage loaded;
    ASSERT_TRUE(LoadWorkingBitmap(loaded, path));
    EXPECT_EQ(loaded.format(), QImage::Format_ARGB32);
    EXPECT_EQ(loaded, picture);

    // A picture of the right size is filled in place.
    QImage reused(37, 23, QImage::Format_ARGB32);
    const uchar* memory = reused.constBits();
    ASSERT_TRUE(LoadWorkingBitmap(reused, path));
    EXPECT_EQ(reused.constBits(), memory);
    EXPECT_EQ(reused, picture);

    // 24-bit pictures are stored as 32-bit ones.
    ASSERT_TRUE(SaveWorkingBitmap(picture.convertToFormat(QImage::Format_BGR888), path));
    ASSERT_TRUE(LoadWorkingBitmap(loaded, path));
    EXPECT_EQ(loaded, picture.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32));
}

struct BadFile {
    const char* what;
    QByteArray bytes;
};

class WorkingCopyRefuses : public testing::TestWithParam<BadFile> { };

TEST_P(WorkingCopyRefuses, WithoutTouchingThePicture)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.sbm");
    ASSERT_TRUE(WriteFileBytes(path, GetParam().bytes));
    const QImage before = RandomPicture(3, 3);
    QImage picture = before;
    EXPECT_FALSE(LoadWorkingBitmap(picture, path)) << GetParam().what;
    EXPECT_EQ(picture, before) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Sbm, WorkingCopyRefuses,
    testing::Values(BadFile { "empty", {} }, BadFile { "short header", Header(2, 2, 32).left(10) },
        BadFile { "foreign magic", Header(2, 2, 32, 0x12345678) + QByteArray(16, 'x') },
        BadFile { "rows missing", Header(2, 2, 32) + QByteArray(15, 'x') },
        BadFile { "extra bytes", Header(2, 2, 32) + QByteArray(17, 'x') },
        BadFile { "absurd size in a small file", Header(60000, 60000, 32) + QByteArray(16, 'x') },
        BadFile { "size overflowing 32 bits", Header(65536, 65536, 32) },
        BadFile { "negative size", Header(-2, -2, 32) + QByteArray(16, 'x') }));

TEST(WorkingCopy, OtherBitDepthResizesButFails)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("b24.sbm");
    ASSERT_TRUE(WriteFileBytes(path, Header(4, 2, 24) + QByteArray(32, 'x')));
    QImage picture;
    EXPECT_FALSE(LoadWorkingBitmap(picture, path));
    EXPECT_EQ(picture.size(), QSize(4, 2));
    EXPECT_FALSE(LoadWorkingBitmap(picture, dir.filePath("missing.sbm")));
    EXPECT_FALSE(SaveWorkingBitmap(RandomPicture(2, 2), dir.filePath("no/folder/x.sbm")));
}

TEST(WorkingCopy, RowsReadInBands)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("w.sbm");
    const QImage picture = RandomPicture(13, 9);
    ASSERT_TRUE(SaveWorkingBitmap(picture, path));
    TWorkingCopyRows file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_EQ(file.Width(), 13);
    ASSERT_EQ(file.Height(), 9);
    std::vector<std::uint32_t> rows(13 * 4);
    ASSERT_TRUE(file.Read(5, 4, rows));
    for (int y = 5; y < 9; ++y)
        EXPECT_EQ(0, std::memcmp(rows.data() + (y - 5) * 13, picture.constScanLine(y), 13 * 4)) << y;
    EXPECT_TRUE(file.Read(9, 0, rows)); // nothing past the end is nothing

    struct Bad {
        int first;
        int count;
        std::size_t room;
    };
    for (const Bad bad : { Bad { 6, 4, 52 }, Bad { -1, 1, 52 }, Bad { 0, 4, 51 }, Bad { 9, 1, 52 } })
        EXPECT_FALSE(file.Read(bad.first, bad.count, std::span(rows).first(bad.room))) << bad.first << " " << bad.count;

    // Shortened after it was opened: the rows that are gone fail, the others still read.
    ASSERT_TRUE(QFile::resize(path, 16 + 13 * 4 * 7));
    EXPECT_TRUE(file.Read(3, 4, rows));
    EXPECT_FALSE(file.Read(6, 2, rows));

    // The refusals of LoadWorkingBitmap hold for Open too; another depth opens but gives no rows.
    ASSERT_TRUE(WriteFileBytes(path, Header(4, 2, 24) + QByteArray(32, 'x')));
    ASSERT_TRUE(file.Open(path));
    EXPECT_FALSE(file.Read(0, 1, rows));
    ASSERT_TRUE(WriteFileBytes(path, Header(4, 2, 32) + QByteArray(31, 'x')));
    EXPECT_FALSE(file.Open(path));
    EXPECT_FALSE(file.Open(dir.filePath("missing.sbm")));
}
