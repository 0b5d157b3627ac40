// Decoding: every accepted extension from a file written by ImageMagick (or built by hand for
// the formats ImageMagick only reads), the three paths of LoadPhotoBitmap and their fallbacks.
#include "imaging/decode.h"
#include "imaging/generaldecoder.h"
#include "jfxlib.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <Magick++.h>
#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 16, kHeight = 8;

// Left half black with a red 4 x 4 block at the top left, right half white.
void WriteTestPicture(const QString& path, const std::string& coder)
{
    Magick::Image image(Magick::Geometry(kWidth, kHeight), Magick::Color("white"));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth / 2; ++x)
            image.pixelColor(std::size_t(x), std::size_t(y), Magick::Color(x < 4 && y < 4 ? "red" : "black"));
    image.magick(coder);
    image.write(QFile::encodeName(path).toStdString());
}

// A Dr. Halo file: 8-bit grey, each row one run of 4 and one of 4.
QByteArray CutFile()
{
    QByteArray bytes = QByteArray::fromHex("0800"
                                           "0200"
                                           "0000");
    for (int row = 0; row < 2; ++row)
        bytes += QByteArray::fromHex("0500"
                                     "8410"
                                     "84F0"
                                     "00");
    return bytes;
}

// A Wavefront RLA file, 4 x 2, three channels, each channel of a row one run.
QByteArray RlaFile()
{
    QByteArray header(740, '\0');
    auto* h = reinterpret_cast<uchar*>(header.data());
    const quint16 fields[] = { 0, 3, 0, 1, 0, 3, 0, 1, 0, 0, 3, 0, 0, 0 };
    for (std::size_t i = 0; i < std::size(fields); ++i)
        qToBigEndian(fields[i], h + 2 * i);
    qToBigEndian<quint16>(8, h + 658); // bits per channel
    QByteArray offsets(8, '\0');
    const QByteArray row = QByteArray::fromHex("0002"
                                               "03FF"
                                               "0002"
                                               "0300"
                                               "0002"
                                               "0300"); // red
    qToBigEndian<qint32>(740 + 8, reinterpret_cast<uchar*>(offsets.data()));
    qToBigEndian<qint32>(740 + 8 + row.size(), reinterpret_cast<uchar*>(offsets.data()) + 4);
    return header + offsets + row + row;
}

// A placeable Windows metafile filling its 160 x 80 frame with a red rectangle.
QByteArray WmfFile()
{
    QByteArray bytes;
    const auto u16 = [&](quint16 v) {
        uchar b[2];
        qToLittleEndian(v, b);
        bytes.append(reinterpret_cast<char*>(b), 2);
    };
    const auto u32 = [&](quint32 v) {
        uchar b[4];
        qToLittleEndian(v, b);
        bytes.append(reinterpret_cast<char*>(b), 4);
    };
    u32(0x9AC6CDD7);
    u16(0);
    u16(0);
    u16(0);
    u16(160);
    u16(80);
    u16(96);
    u32(0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(bytes.constData()) + i);
    u16(checksum);
    u16(1);
    u16(9);
    u16(0x0300);
    u32(40);
    u16(1);
    u32(7);
    u16(0);
    u32(5);
    u16(0x020B);
    u16(0);
    u16(0); // SetWindowOrg
    u32(5);
    u16(0x020C);
    u16(80);
    u16(160); // SetWindowExt
    u32(7);
    u16(0x02FC);
    u16(0);
    u32(0x000000FF);
    u16(0); // CreateBrushIndirect, red
    u32(4);
    u16(0x012D);
    u16(0); // SelectObject
    u32(7);
    u16(0x041B);
    u16(80);
    u16(160);
    u16(0);
    u16(0); // Rectangle
    u32(3);
    u16(0); // EOF
    return bytes;
}

QRgb At(const QImage& picture, int x, int y)
{
    return picture.pixel(x, y);
}

bool Dark(QRgb c)
{
    return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool Bright(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200;
}
bool Reddish(QRgb c)
{
    return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90;
}

} // namespace

class EveryExtension : public testing::TestWithParam<QString> { };

TEST_P(EveryExtension, DecodesAFileOfItsFormatOrFailsCleanly)
{
    const QString extension = GetParam();
    const QString coder = CoderForExtension(extension);
    QTemporaryDir dir;
    const QString path = dir.filePath("picture." + extension);
    QImage decoded;

    if (coder.isEmpty() || coder == u"EPS" || coder == u"RLA") {
        // The extensions that fail cleanly here: no coder at all, EPS refused by ImageMagick's
        // policy (it needs Ghostscript), and a well-formed RLA file that ImageMagick 6.9.11's
        // reader rejects for having more than one row.
        ASSERT_TRUE(
            WriteFileBytes(path, coder == u"RLA" ? RlaFile() : "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n"));
        EXPECT_FALSE(LoadPhotoBitmap(path, decoded)) << extension.toStdString();
        EXPECT_TRUE(decoded.isNull());
        return;
    }
    if (coder == u"CUT") {
        ASSERT_TRUE(WriteFileBytes(path, CutFile()));
        ASSERT_TRUE(LoadPhotoBitmap(path, decoded));
        EXPECT_EQ(decoded.size(), QSize(8, 2));
        EXPECT_TRUE(Bright(At(decoded, 6, 1)));
        return;
    }
    if (coder == u"WMF") {
        ASSERT_TRUE(WriteFileBytes(path, WmfFile()));
        ASSERT_TRUE(LoadPhotoBitmap(path, decoded));
        ASSERT_FALSE(decoded.isNull());
        EXPECT_TRUE(Reddish(At(decoded, decoded.width() / 2, decoded.height() / 2)));
        return;
    }

    WriteTestPicture(path, coder.toStdString());
    ASSERT_TRUE(LoadPhotoBitmap(path, decoded, true)) << extension.toStdString();
    EXPECT_EQ(decoded.format(), QImage::Format_BGR888);
    if (coder == u"PCD") // Photo CD keeps its own base resolution
        return;
    if (coder == u"FAX") { // fax lines have the fax machine's width
        EXPECT_EQ(decoded.height(), kHeight);
    } else {
        ASSERT_EQ(decoded.size(), QSize(kWidth, kHeight)) << extension.toStdString();
    }
    EXPECT_TRUE(Dark(At(decoded, 6, 6))) << extension.toStdString();
    EXPECT_TRUE(Bright(At(decoded, 12, 6))) << extension.toStdString();
    const bool bilevelOrGrey = coder == u"FAX" || extension == u"pbm" || extension == u"pgm" || extension == u"bw";
    if (!bilevelOrGrey) {
        EXPECT_TRUE(Reddish(At(decoded, 1, 1))) << extension.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Decode, EveryExtension, testing::ValuesIn(AcceptedPhotoExtensions()),
    [](const testing::TestParamInfo<QString>& extension) { return extension.param.toStdString(); });

TEST(Decode, ExtensionTable)
{
    EXPECT_EQ(AcceptedPhotoExtensions().size(), 43);
    EXPECT_FALSE(AcceptedPhotoExtensions().contains("gif"));
    EXPECT_EQ(CoderForExtension("VST"), "TGA");
    EXPECT_EQ(CoderForExtension("rle"), "BMP");
    EXPECT_EQ(CoderForExtension("scr"), "PCX");
    EXPECT_EQ(CoderForExtension("rpf"), "RLA");
    EXPECT_EQ(CoderForExtension("HEIF"), "HEIC");
    EXPECT_EQ(CoderForExtension("avif"), "AVIF");
    EXPECT_EQ(CoderForExtension("gif"), "");
}

TEST(Decode, JpegGoesThroughTheBridgeAndFallsBack)
{
    QTemporaryDir dir;
    QImage source(200, 150, QImage::Format_RGB32);
    source.fill(QColor(200, 30, 60));
    for (int x = 100; x < 200; ++x)
        for (int y = 0; y < 150; ++y)
            source.setPixel(x, y, qRgb(x, y, (x * y) & 255));
    ASSERT_TRUE(source.save(dir.filePath("a.jpg"), "JPG", 95));
    QImage decoded;
    ASSERT_EQ(LoadJpegThroughBridge(dir.filePath("a.jpg"), decoded), 0);
    EXPECT_EQ(decoded.format(), QImage::Format_BGR888);
    EXPECT_EQ(decoded.size(), QSize(200, 150));
    EXPECT_NEAR(qRed(decoded.pixel(5, 5)), 200, 4);
    EXPECT_NEAR(qBlue(decoded.pixel(5, 5)), 60, 4);

    // Truncated: the bridge refuses it, the general decoder reads what is there.
    const QByteArray whole = ReadFileBytes(dir.filePath("a.jpg"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("cut.jpg"), whole.left(whole.size() * 2 / 3)));
    EXPECT_EQ(LoadJpegThroughBridge(dir.filePath("cut.jpg"), decoded), JFX_ERR_DECODE);
    QImage fallback;
    ASSERT_TRUE(LoadPhotoBitmap(dir.filePath("cut.jpg"), fallback));
    EXPECT_EQ(fallback.size(), QSize(200, 150));

    // Four components: not for the 24-bit bridge path; the general decoder takes it.
    std::vector<unsigned char> bgra(std::size_t(8 * 8 * 4), 0x80);
    ASSERT_EQ(JfxWriteImage(QFile::encodeName(dir.filePath("four.jpg")).constData(), 8, 8, 4, bgra.data(), 72, 90), 0);
    EXPECT_EQ(LoadJpegThroughBridge(dir.filePath("four.jpg"), decoded), kBridgeNotThreeChannels);
    ASSERT_TRUE(LoadPhotoBitmap(dir.filePath("four.jpg"), fallback));
    EXPECT_EQ(fallback.size(), QSize(8, 8));

    // Not a JPEG at all: neither decoder; the target stays as it was.
    ASSERT_TRUE(WriteFileBytes(dir.filePath("text.jpeg"), "hello"));
    QImage untouched = source;
    EXPECT_FALSE(LoadPhotoBitmap(dir.filePath("text.jpeg"), untouched));
    EXPECT_EQ(untouched, source);
}

TEST(Decode, BitmapsUseQtsReaderAndKeepItsFormatUnlessForced)
{
    QTemporaryDir dir;
    QImage source(7, 5, QImage::Format_RGB888);
    source.fill(QColor(10, 20, 30));
    ASSERT_TRUE(source.save(dir.filePath("a.BMP"), "BMP"));
    QImage decoded;
    ASSERT_TRUE(LoadPhotoBitmap(dir.filePath("a.BMP"), decoded, false));
    EXPECT_NE(decoded.format(), QImage::Format_BGR888);
    ASSERT_TRUE(LoadPhotoBitmap(dir.filePath("a.BMP"), decoded, true));
    EXPECT_EQ(decoded.format(), QImage::Format_BGR888);
    EXPECT_EQ(decoded.pixel(3, 3), QColor(10, 20, 30).rgb());

    ASSERT_TRUE(WriteFileBytes(dir.filePath("b.bmp"), "BM not really"));
    EXPECT_FALSE(LoadPhotoBitmap(dir.filePath("b.bmp"), decoded));
    EXPECT_FALSE(LoadPhotoBitmap(dir.filePath("missing.png"), decoded));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("c.gif"), "GIF89a"));
    EXPECT_FALSE(LoadPhotoBitmap(dir.filePath("c.gif"), decoded));
}

TEST(Decode, HugeHeadersAreRefusedBeforeDecoding)
{
    QTemporaryDir dir;
    // A Targa header claiming 65535 x 65535 pixels and no pixel data.
    ASSERT_TRUE(WriteFileBytes(dir.filePath("huge.tga"),
        QByteArray::fromHex("000002"
                            "0000000000"
                            "00000000"
                            "ffffffff"
                            "1800")));
    QImage decoded;
    EXPECT_FALSE(LoadPhotoBitmap(dir.filePath("huge.tga"), decoded));

    // A real JPEG whose frame header is patched to 65000 x 65000: the bridge refuses its 12 GB
    // buffer, the general decoder its size.
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    ASSERT_TRUE(small.save(dir.filePath("small.jpg"), "JPG"));
    QByteArray jpeg = ReadFileBytes(dir.filePath("small.jpg"));
    const int frame = jpeg.indexOf(QByteArray::fromHex("ffc0"));
    ASSERT_GT(frame, 0);
    qToBigEndian<quint16>(65000, reinterpret_cast<uchar*>(jpeg.data()) + frame + 5);
    qToBigEndian<quint16>(65000, reinterpret_cast<uchar*>(jpeg.data()) + frame + 7);
    ASSERT_TRUE(WriteFileBytes(dir.filePath("huge.jpg"), jpeg));
    JfxProperties properties {};
    EXPECT_EQ(JfxGetProperties(QFile::encodeName(dir.filePath("huge.jpg")).constData(), &properties), JFX_ERR_HEADER);
    EXPECT_FALSE(LoadPhotoBitmap(dir.filePath("huge.jpg"), decoded));
    EXPECT_TRUE(decoded.isNull());
}
