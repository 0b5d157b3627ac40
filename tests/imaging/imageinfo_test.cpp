// Header facts of real files the tests write: JPEG (JFIF, frame, EXIF), TIFF in both byte
// orders, BMP and PSD; the density stamp; and malformed headers that must end cleanly.
#include "imaging/imageinfo.h"
#include "imaging/jpeginfo.h"
#include "imaging/jpegsave.h"
#include "tests/imaging/headerbytes.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <limits>

using headerbytes::Tag;

namespace {

class HeaderFacts : public testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }

    // A real baseline JPEG of the given size written by SaveJpeg (JFIF units 0).
    QByteArray Jpeg(int width, int height)
    {
        QImage picture(width, height, QImage::Format_BGR888);
        picture.fill(Qt::darkCyan);
        const QString path = dir_.filePath("source.jpg");
        EXPECT_TRUE(SaveJpeg(picture, path, 90));
        return ReadFileBytes(path);
    }

    ImageInfo Read(const QString& name, const QByteArray& bytes, bool* result = nullptr)
    {
        ImageInfo info;
        const bool read = ReadImageInfo(Write(name, bytes), info);
        if (result)
            *result = read;
        return info;
    }

    QTemporaryDir dir_;
};

std::vector<Tag> Resolution300Inch()
{
    return { { 282, 5, 300, 1 }, { 283, 5, 300, 1 }, { 296, 3, 2 } };
}

} // namespace

TEST_F(HeaderFacts, JpegWrittenBySaveJpegAndStampedWithTheLabResolution)
{
    const QString path = Write("photo.jpg", Jpeg(64, 48));
    ImageInfo info;
    ASSERT_TRUE(ReadImageInfo(path, info));
    EXPECT_EQ(info.kind, kKindJpeg);
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 48);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_EQ(info.xDpi, 72); // units 0
    EXPECT_EQ(info.hasExif, 0);
    EXPECT_EQ(info.fileSize, ReadFileBytes(path).size());
    EXPECT_GE(info.created.year, 2020);

    ASSERT_TRUE(StampJpegDensity(path, 300));
    const QByteArray stamped = ReadFileBytes(path);
    EXPECT_EQ(stamped.mid(4 + 2 + 7, 5), QByteArray::fromHex("012c012c").prepend('\x01'));
    ASSERT_TRUE(ReadImageInfo(path, info));
    EXPECT_EQ(info.xDpi, 300);
    EXPECT_EQ(info.yDpi, 300);
}

TEST_F(HeaderFacts, ExifValuesAreReadLastAndWin)
{
    const QByteArray jpeg = Jpeg(64, 48);
    // JFIF units 0 and EXIF 300/1 inch: 300 dpi.
    ImageInfo info = Read("a.jpg", headerbytes::WithExif(jpeg, headerbytes::Tiff(false, { Resolution300Inch() })));
    EXPECT_EQ(info.kind, kKindJpegExif);
    EXPECT_EQ(info.hasExif, 1);
    EXPECT_EQ(info.xDpi, 300);
    EXPECT_EQ(info.width, 64);

    // An EXIF block without resolution tags: 0, turned into 1, whatever JFIF said.
    info = Read("b.jpg", headerbytes::WithExif(jpeg, headerbytes::Tiff(true, { { { 274, 3, 1 } } })));
    EXPECT_EQ(info.xDpi, 1);
    EXPECT_EQ(info.yDpi, 1);

    // The EXIF sub-IFD is walked last: its pixel dimensions replace the frame header's, and a
    // later IFD's resolution (the thumbnail's 72) replaces the first one's.
    std::vector<Tag> first = Resolution300Inch();
    first.push_back({ 34665, 4, headerbytes::kSubIfd });
    const QByteArray tiff = headerbytes::Tiff(
        true, { first, { { 282, 5, 72, 1 }, { 283, 5, 72, 1 } } }, { { 40962, 4, 4000 }, { 40963, 3, 3000 } });
    info = Read("c.jpg", headerbytes::WithExif(jpeg, tiff));
    EXPECT_EQ(info.width, 4000);
    EXPECT_EQ(info.height, 3000);
    EXPECT_EQ(info.xDpi, 72);

    // Centimetres are converted; EXIF alone (no JFIF header) is enough.
    info = Read("d.jpg",
        headerbytes::WithExif(headerbytes::WithoutJfif(jpeg),
            headerbytes::Tiff(false, { { { 282, 5, 118, 1 }, { 283, 5, 59, 1 }, { 296, 3, 3 } } })));
    EXPECT_EQ(info.kind, kKindJpegExif);
    EXPECT_EQ(info.xDpi, 300); // 299.72
    EXPECT_EQ(info.yDpi, 150);
}

// The orientation of the main picture is its first IFD's; a quarter turn gives the upright
// size. The thumbnail's IFD, a value outside 1..8 or an entry of another type change nothing
// and are not errors.
TEST_F(HeaderFacts, ExifOrientationOfTheFirstIfdGivesTheUprightSize)
{
    const QByteArray jpeg = Jpeg(64, 48);
    const struct {
        const char* what;
        std::vector<std::vector<Tag>> ifds;
        bool bigEndian;
        int orientation;
        int width, height;
    } cases[] = {
        { "upright", { { { 274, 3, 1 } } }, false, 1, 64, 48 },
        { "half turn", { { { 274, 3, 3 } } }, true, 3, 64, 48 },
        { "quarter turn", { { { 274, 3, 6 } } }, false, 6, 48, 64 },
        { "quarter turn, big-endian", { { { 274, 3, 8 } } }, true, 8, 48, 64 },
        { "thumbnail only", { { { 282, 5, 72, 1 } }, { { 274, 3, 6 } } }, false, 0, 64, 48 },
        { "main picture wins", { { { 274, 3, 5 } }, { { 274, 3, 1 } } }, false, 5, 48, 64 },
        { "out of range", { { { 274, 3, 9 } } }, false, 0, 64, 48 },
        { "LONG", { { { 274, 4, 6 } } }, false, 0, 64, 48 },
    };
    for (const auto& c : cases) {
        bool result = false;
        const ImageInfo info
            = Read("o.jpg", headerbytes::WithExif(jpeg, headerbytes::Tiff(c.bigEndian, c.ifds)), &result);
        EXPECT_TRUE(result) << c.what;
        EXPECT_EQ(info.kind, kKindJpegExif) << c.what;
        EXPECT_EQ(info.orientation, c.orientation) << c.what;
        EXPECT_EQ(QSize(info.width, info.height), QSize(c.width, c.height)) << c.what;
    }

    // A TIFF file carries the same tag.
    const ImageInfo tiff
        = Read("o.tif", headerbytes::Tiff(true, { { { 256, 3, 640 }, { 257, 4, 480 }, { 274, 3, 7 } } }));
    EXPECT_EQ(tiff.orientation, 7);
    EXPECT_EQ(QSize(tiff.width, tiff.height), QSize(480, 640));
}

TEST_F(HeaderFacts, JfifUnitsAndIrregularHeaders)
{
    const QByteArray body = Jpeg(16, 8).mid(2 + 2 + 16); // after SOI and SaveJpeg's 16-byte APP0 segment
    const auto withJfif = [&](const QByteArray& payload) {
        return QByteArray("\xFF\xD8", 2) + headerbytes::Segment(0xE0, payload) + body;
    };
    ImageInfo info = Read("cm.jpg", withJfif(headerbytes::JfifPayload(1, 2, 118, 40)));
    EXPECT_EQ(info.xDpi, 300);
    EXPECT_EQ(info.yDpi, 102); // 101.6
    EXPECT_EQ(info.irregular, 0);
    info = Read("v3.jpg", withJfif(headerbytes::JfifPayload(3, 1, 200, 0)));
    EXPECT_EQ(info.irregular, 1);
    EXPECT_EQ(info.xDpi, 200);
    EXPECT_EQ(info.yDpi, 1); // 0 becomes 1
    bool result = true;
    info = Read("badunit.jpg", withJfif(headerbytes::JfifPayload(1, 7, 300, 300)), &result);
    EXPECT_FALSE(result);
    EXPECT_EQ(info.width, 0); // the reading ended at the JFIF header
    info = Read("short.jpg", withJfif("JFIF"), &result);
    EXPECT_FALSE(result);
}

TEST_F(HeaderFacts, FrameHeadersProgressiveGreyAndMissing)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QImageWriter writer(dir_.filePath("progressive.jpg"), "jpg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(picture));
    ImageInfo info;
    ASSERT_TRUE(ReadImageInfo(dir_.filePath("progressive.jpg"), info));
    EXPECT_EQ(info.width, 40);
    EXPECT_EQ(info.height, 30);

    QImage grey(10, 5, QImage::Format_Grayscale8);
    grey.fill(100);
    ASSERT_TRUE(grey.save(dir_.filePath("grey.jpe"), "JPG"));
    ASSERT_TRUE(ReadImageInfo(dir_.filePath("grey.jpe"), info));
    EXPECT_EQ(info.bitsPerPixel, 8);
    EXPECT_EQ(info.width, 10);

    // A lossless frame (C3) only: no size unless EXIF gives one.
    QByteArray frame("\x08\x00\x05\x00\x0A\x01\x01\x11\x00", 9);
    const QByteArray lossless = QByteArray("\xFF\xD8", 2)
        + headerbytes::Segment(0xE0, headerbytes::JfifPayload(1, 1, 96, 96)) + headerbytes::Segment(0xC3, frame)
        + headerbytes::Segment(0xDA, QByteArray(8, '\0'));
    info = Read("lossless.jpeg", lossless);
    EXPECT_EQ(info.kind, kKindJpeg);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.xDpi, 96);
}

TEST_F(HeaderFacts, TiffInBothByteOrders)
{
    // "MM" with SHORT sizes and the default resolution.
    ImageInfo info = Read("mm.tif", headerbytes::Tiff(true, { { { 256, 3, 1200 }, { 257, 3, 800 }, { 262, 3, 2 } } }));
    EXPECT_EQ(info.kind, kKindTiff);
    EXPECT_EQ(info.width, 1200);
    EXPECT_EQ(info.height, 800);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_EQ(info.xDpi, 72);

    // "II" with LONG sizes, centimetres, CMYK and an EXIF pointer; the second IFD wins.
    info = Read("ii.TIFF",
        headerbytes::Tiff(false,
            { { { 256, 4, 5000 }, { 257, 4, 7000 }, { 262, 3, 0 } },
                { { 256, 4, 640 }, { 282, 5, 100, 1 }, { 283, 5, 50, 1 }, { 296, 3, 3 }, { 262, 3, 5 },
                    { 34665, 4, 8 } } }));
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 7000);
    EXPECT_EQ(info.bitsPerPixel, 32);
    EXPECT_EQ(info.xDpi, 254);
    EXPECT_EQ(info.yDpi, 127);
    EXPECT_EQ(info.hasExif, 1);
}

TEST_F(HeaderFacts, MalformedTiffEndsWithFalseAndKeepsWhatWasRead)
{
    bool result = true;
    // XResolution stored as LONG: a typed-read error, reported only as false.
    ImageInfo info
        = Read("type.tif", headerbytes::Tiff(false, { { { 256, 4, 99 }, { 282, 4, 300 }, { 257, 4, 77 } } }), &result);
    EXPECT_FALSE(result);
    EXPECT_EQ(info.width, 99);
    EXPECT_EQ(info.height, 0);
    EXPECT_EQ(info.xDpi, 1);

    // A chain that points back at its first IFD ends instead of looping.
    info = Read("loop.tif", headerbytes::Tiff(true, { { { 256, 3, 10 } }, { { 257, 3, 20 } } }, {}, 8), &result);
    EXPECT_TRUE(result);
    EXPECT_EQ(info.width, 10);
    EXPECT_EQ(info.height, 20);

    // A next IFD beyond the end, an IFD without entries, a rational outside the file.
    Read("past.tif", headerbytes::Tiff(false, { { { 256, 3, 10 } } }, {}, 999999), &result);
    EXPECT_FALSE(result);
    Read("empty.tif", headerbytes::Tiff(false, { {} }), &result);
    EXPECT_FALSE(result);
    QByteArray rational = headerbytes::Tiff(false, { { { 282, 5, 300, 1 } } });
    rational.chop(8);
    Read("rational.tif", rational, &result);
    EXPECT_FALSE(result);
    Read("magic.tif", QByteArray("II\x2B\0\x08\0\0\0", 8), &result);
    EXPECT_FALSE(result);
}

TEST_F(HeaderFacts, MalformedJpegSegmentsEndTheSearch)
{
    const QByteArray jpeg = Jpeg(16, 8);
    bool result = true;
    // An APP segment claiming a length of 1, of 0, and one running past the end.
    for (const char* length : { "\x00\x01", "\x00\x00", "\x7F\xFF" }) {
        const QByteArray bytes = QByteArray("\xFF\xD8\xFF\xE5", 4) + QByteArray(length, 2) + jpeg.mid(2);
        const ImageInfo info = Read("bad.jpg", bytes, &result);
        EXPECT_FALSE(result);
        EXPECT_EQ(info.kind, kKindNothing);
    }
    // EXIF chains that loop: the next IFD and the sub-IFD pointing at IFDs already walked.
    const QByteArray looping = headerbytes::Tiff(false, { { { 256, 4, 10 }, { 34665, 4, 8 } } }, {}, 8);
    const ImageInfo info = Read("loop.jpg", headerbytes::WithExif(jpeg, looping), &result);
    EXPECT_TRUE(result);
    EXPECT_EQ(info.width, 10);
    Read("notjpeg.jpg", "GIF89a", &result);
    EXPECT_FALSE(result);
}

TEST_F(HeaderFacts, BitmapAndPhotoshopHeaders)
{
    QImage picture(30, 20, QImage::Format_RGB888);
    picture.fill(Qt::blue);
    picture.setDotsPerMeterX(11811);
    picture.setDotsPerMeterY(3937);
    ASSERT_TRUE(picture.save(dir_.filePath("p.bmp"), "BMP"));
    ImageInfo info;
    ASSERT_TRUE(ReadImageInfo(dir_.filePath("p.bmp"), info));
    EXPECT_EQ(info.kind, kKindBmp);
    EXPECT_EQ(info.width, 30);
    EXPECT_EQ(info.height, 20);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_EQ(info.xDpi, 300);
    EXPECT_EQ(info.yDpi, 100);

    QByteArray topDown = ReadFileBytes(dir_.filePath("p.bmp"));
    qToLittleEndian<qint32>(-20, reinterpret_cast<uchar*>(topDown.data()) + 22);
    EXPECT_EQ(Read("top.BMP", topDown).height, 20); // rows from the top: the size is still 20
    qToLittleEndian<qint32>(std::numeric_limits<qint32>::min(), reinterpret_cast<uchar*>(topDown.data()) + 22);
    EXPECT_EQ(Read("nonsense.bmp", topDown).height, 0);

    const auto psd = [](quint16 mode) {
        QByteArray header("8BPS\x00\x01", 6);
        header.append(QByteArray(6, '\0'));
        header
            .append(QByteArray::fromHex("0003"
                                        "00000258"
                                        "00000320"
                                        "0008"))
            .append(char(mode >> 8))
            .append(char(mode));
        return header;
    };
    info = Read("a.psd", psd(3));
    EXPECT_EQ(info.kind, kKindPsd);
    EXPECT_EQ(info.height, 600);
    EXPECT_EQ(info.width, 800);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_EQ(info.xDpi, 72);
    EXPECT_EQ(Read("b.psd", psd(4)).bitsPerPixel, 32);
    EXPECT_EQ(Read("c.psd", psd(2)).bitsPerPixel, 8);
    EXPECT_EQ(Read("d.psd", psd(7)).bitsPerPixel, 1);
    bool result = true;
    Read("short.psd", psd(3).left(20), &result);
    EXPECT_FALSE(result);
}

TEST_F(HeaderFacts, OtherFormatsGiveOnlyTimeAndSize)
{
    for (const char* name : { "x.png", "x.gif", "x.jfif", "x" }) {
        bool result = true;
        const ImageInfo info = Read(name, Jpeg(8, 8), &result);
        EXPECT_FALSE(result) << name;
        EXPECT_EQ(info.kind, kKindNothing) << name;
        EXPECT_EQ(info.width, 0) << name;
        EXPECT_EQ(info.xDpi, 1) << name;
        EXPECT_EQ(info.yDpi, 1) << name;
        EXPECT_GT(info.fileSize, 0) << name;
    }
    ImageInfo missing;
    EXPECT_FALSE(ReadImageInfo(dir_.filePath("missing.jpg"), missing));
    EXPECT_EQ(missing.fileSize, 0);
}

TEST_F(HeaderFacts, StampRefusesFilesWithoutJfif)
{
    const QByteArray exifOnly = headerbytes::WithExif(
        headerbytes::WithoutJfif(Jpeg(8, 8)), headerbytes::Tiff(false, { Resolution300Inch() }));
    const QString path = Write("exif.jpg", exifOnly);
    EXPECT_FALSE(StampJpegDensity(path, 300));
    EXPECT_EQ(ReadFileBytes(path), exifOnly);
    const QByteArray body = Jpeg(8, 8).mid(20);
    const QByteArray future
        = QByteArray("\xFF\xD8", 2) + headerbytes::Segment(0xE0, headerbytes::JfifPayload(3, 0, 1, 1)) + body;
    EXPECT_FALSE(StampJpegDensity(Write("future.jpg", future), 300));
}
