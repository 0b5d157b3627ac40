// The banded JPEG decoder against the bridge: the same files decode, to the same pixels, and the
// same files are refused (left to the general decoder).
#include "imaging/decode.h"
#include "imaging/jpegrows.h"
#include "imaging/picture.h"
#include "jfxlib.h"
#include "tests/imaging/testpictures.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <Magick++.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

QImage Scene(int width, int height)
{
    return NoisyGradient(width, height, QImage::Format_RGB32);
}

// The picture written by ImageMagick's JPEG coder after `adjust` set its options.
QByteArray MagickJpeg(const QImage& picture, const std::function<void(Magick::Image&)>& adjust)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    Magick::Image image(Magick::Blob(png.constData(), std::size_t(png.size())));
    image.magick("JPEG");
    image.quality(90);
    adjust(image);
    Magick::Blob jpeg;
    image.write(&jpeg);
    return QByteArray(static_cast<const char*>(jpeg.data()), qsizetype(jpeg.length()));
}

// All rows of the file in bands of 7, into rows a few pixels wider than the picture; a null
// picture when the decoder refuses or fails.
QImage DecodeInBands(const QString& path)
{
    TJpegRows rows;
    if (!rows.Open(path))
        return {};
    const int width = rows.Width(), height = rows.Height(), stride = width + 3;
    std::vector<std::uint32_t> pixels(std::size_t(stride) * std::size_t(height));
    int done = 0;
    while (done < height) {
        const int count = rows.Read(pixels.data() + std::size_t(done) * std::size_t(stride), stride, 7);
        if (count <= 0)
            return {};
        done += count;
    }
    if (rows.Read(pixels.data(), stride, 7) != 0 || !rows.Finish())
        return {};
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.scanLine(y), pixels.data() + std::size_t(y) * std::size_t(stride), std::size_t(width) * 4);
    return picture;
}

TEST(JpegRows, DecodesExactlyTheFilesTheBridgeDecodesToItsPixels)
{
    QTemporaryDir dir;
    const QImage scene = Scene(333, 217);
    const QByteArray baseline = MagickJpeg(scene, [](Magick::Image&) {});
    QByteArray junkBeforeEnd = baseline;
    junkBeforeEnd.insert(junkBeforeEnd.size() - 2, "\x12\x34\x56", 3);
    std::vector<unsigned char> bgra(std::size_t(9 * 5 * 4), 0x80);
    ASSERT_EQ(JfxWriteImage(QFile::encodeName(dir.filePath("four.jpg")).constData(), 9, 5, 4, bgra.data(), 72, 90), 0);

    const struct {
        const char* name;
        QByteArray bytes;
        bool decodes;
    } cases[] = {
        { "baseline 4:2:0", baseline, true },
        { "4:4:4", MagickJpeg(scene, [](Magick::Image& i) { i.defineValue("jpeg", "sampling-factor", "1x1"); }), true },
        { "4:2:2", MagickJpeg(scene, [](Magick::Image& i) { i.defineValue("jpeg", "sampling-factor", "2x1"); }), true },
        { "progressive", MagickJpeg(scene, [](Magick::Image& i) { i.interlaceType(Magick::PlaneInterlace); }), true },
        { "grey", MagickJpeg(scene, [](Magick::Image& i) { i.type(Magick::GrayscaleType); }), true },
        { "one pixel", MagickJpeg(Scene(1, 1), [](Magick::Image&) {}), true },
        { "tall, odd",
            MagickJpeg(Scene(17, 301), [](Magick::Image& i) { i.defineValue("jpeg", "sampling-factor", "2x2"); }),
            true },
        { "cmyk", MagickJpeg(scene, [](Magick::Image& i) { i.colorSpace(Magick::CMYKColorspace); }), false },
        { "four components", ReadFileBytes(dir.filePath("four.jpg")), false },
        { "truncated", baseline.left(baseline.size() * 2 / 3), false },
        { "junk before the end", junkBeforeEnd, false },
        { "not a JPEG", QByteArray("hello"), false },
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("%1.jpg").arg(QLatin1String(c.name)));
        ASSERT_TRUE(WriteFileBytes(path, c.bytes)) << c.name;
        QImage bridged;
        const int bridge = LoadJpegThroughBridge(path, bridged);
        const QImage banded = DecodeInBands(path);
        EXPECT_EQ(bridge == JFX_OK, c.decodes) << c.name << ": bridge " << bridge;
        EXPECT_EQ(!banded.isNull(), c.decodes) << c.name;
        if (bridge == JFX_OK && !banded.isNull()) {
            EXPECT_TRUE(banded == As32BitPicture(bridged)) << c.name;
        }
    }
}

} // namespace
