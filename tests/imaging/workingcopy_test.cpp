// Working copies: exact round trip, the header layout, and refusal of files that do not add up.
#include "imaging/workingcopy.h"
#include "tests/imaging/testpictures.h"
#include "tests/support/testsupport.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

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
