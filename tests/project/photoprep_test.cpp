// The decoding half of adding a photo: photos shown upright whatever their EXIF orientation,
// top-down bitmaps with their real size, and a preview copy of exactly the fitted size.
#include "tests/project/projectfixture.h"

#include "imaging/decode.h"
#include "imaging/geometry.h"
#include "imaging/jpegsave.h"
#include "imaging/picture.h"
#include "imaging/workingcopy.h"
#include "project/photoprep.h"
#include "tests/imaging/headerbytes.h"
#include "tests/imaging/testprofiles.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <Magick++.h>
#include <lcms2.h>

#include <functional>

#include <gtest/gtest.h>

namespace {

constexpr QRgb kGrey = 0xFF808080, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

class PhotoPrepTest : public ::testing::Test {
protected:
    TProjectFixture f;

    TPreparedPhoto Prepare(const QString& path)
    {
        const QString name = QFileInfo(path).completeBaseName();
        return PreparePhoto({ path, f.TempFolder() + u'/' + name + QStringLiteral(".sbm"),
                                f.TempFolder() + QStringLiteral("/prev_") + name + QStringLiteral(".sbm") },
            f.config.previewSize);
    }

    // Which corner of the picture holds a block of the colour: "tl", "tr", "bl", "br" or "".
    static QString CornerOf(const QImage& picture, QRgb colour)
    {
        const int w = picture.width() - 4, h = picture.height() - 4;
        const struct {
            const char* name;
            int x, y;
        } corners[] = { { "tl", 3, 3 }, { "tr", w, 3 }, { "bl", 3, h }, { "br", w, h } };
        QString found;
        for (const auto& corner : corners)
            if (Near(picture.pixel(corner.x, corner.y), colour))
                found += QLatin1String(corner.name);
        return found;
    }

private:
    static bool Near(QRgb a, QRgb b)
    {
        return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40
            && std::abs(qBlue(a) - qBlue(b)) < 40;
    }
};

// A photo as a camera stores it (64 x 32, a red block in its first pixels, a blue one at the end
// of its first row) with the EXIF orientation, turned upright: where the blocks must appear
// follows from the EXIF definition of each value (which side the stored first row and first
// column are on).
TEST_F(PhotoPrepTest, EveryExifOrientationGivesAnUprightPhotoAndSize)
{
    QImage stored(64, 32, QImage::Format_ARGB32);
    stored.fill(kGrey);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            stored.setPixel(x, y, kRed);
            stored.setPixel(63 - x, y, kBlue);
        }
    const QString plain = f.PhotoPath(QStringLiteral("stored.jpg"));
    ASSERT_TRUE(SaveJpeg(stored, plain, 95));
    const QByteArray jpeg = ReadFileBytes(plain);

    const struct {
        int orientation;
        const char* red;
        const char* blue;
    } cases[] = { { 1, "tl", "tr" }, { 2, "tr", "tl" }, { 3, "br", "bl" }, { 4, "bl", "br" }, { 5, "tl", "bl" },
        { 6, "tr", "br" }, { 7, "br", "tr" }, { 8, "bl", "tl" } };
    for (const auto& c : cases) {
        const QString path = f.PhotoPath(QStringLiteral("o%1.jpg").arg(c.orientation));
        ASSERT_TRUE(WriteFileBytes(path,
            headerbytes::WithExif(
                jpeg, headerbytes::Tiff(c.orientation % 2 == 0, { { { 274, 3, std::uint32_t(c.orientation) } } }))));
        const TPreparedPhoto photo = Prepare(path);
        ASSERT_TRUE(photo.ok) << c.orientation;
        const QSize upright = c.orientation >= 5 ? QSize(32, 64) : QSize(64, 32);
        EXPECT_EQ(QSize(photo.info.width, photo.info.height), upright) << c.orientation;
        QImage full;
        ASSERT_TRUE(LoadWorkingBitmap(full, photo.slot.workingPath));
        EXPECT_EQ(full.size(), upright) << c.orientation;
        EXPECT_EQ(CornerOf(full, kRed), QLatin1String(c.red)) << c.orientation;
        EXPECT_EQ(CornerOf(full, kBlue), QLatin1String(c.blue)) << c.orientation;
        EXPECT_EQ(CornerOf(photo.preview, kRed), QLatin1String(c.red)) << c.orientation;
    }

    // A TIFF file carries the same tag; its decoder too delivers the stored pixels.
    const QString png = f.PhotoPath(QStringLiteral("stored.png"));
    ASSERT_TRUE(stored.save(png));
    Magick::Image tiff(QFile::encodeName(png).toStdString());
    tiff.orientation(Magick::RightTopOrientation); // 6
    const QString tif = f.PhotoPath(QStringLiteral("o6.tif"));
    tiff.write(QFile::encodeName(tif).toStdString());
    const TPreparedPhoto photo = Prepare(tif);
    ASSERT_TRUE(photo.ok);
    EXPECT_EQ(QSize(photo.info.width, photo.info.height), QSize(32, 64));
    EXPECT_EQ(CornerOf(photo.preview, kRed), QLatin1String("tr"));
    EXPECT_EQ(CornerOf(photo.preview, kBlue), QLatin1String("br"));
}

// 3000 x 2000 fits 800 x 800 as 800 x 533; resampling that into "a box of 800 x 533" again
// would give 799 x 533.
TEST_F(PhotoPrepTest, PreviewHasExactlyTheFittedSize)
{
    const TPreparedPhoto photo = Prepare(f.WritePhoto(QStringLiteral("wide.jpg"), 3000, 2000));
    ASSERT_TRUE(photo.ok);
    EXPECT_EQ(photo.preview.size(), QSize(800, 533));
    QImage stored;
    ASSERT_TRUE(LoadWorkingBitmap(stored, photo.slot.previewPath));
    EXPECT_EQ(stored.size(), QSize(800, 533));
}

// A bitmap whose rows are stored from the top has a negative height in its header; the photo
// is still 30 x 60 everywhere: turned and cropped like any portrait, and marked when too small.
TEST_F(PhotoPrepTest, TopDownBitmapHasItsPositiveSize)
{
    const QString bottomUp = f.WritePhoto(QStringLiteral("portrait.bmp"), 30, 60);
    QByteArray bytes = ReadFileBytes(bottomUp);
    auto* header = reinterpret_cast<uchar*>(bytes.data());
    const int pixels = qFromLittleEndian<qint32>(header + 10);
    const int rowBytes = (30 * qFromLittleEndian<quint16>(header + 28) / 8 + 3) & ~3;
    QByteArray topDown = bytes.left(pixels);
    for (int row = 59; row >= 0; --row)
        topDown += bytes.mid(pixels + row * rowBytes, rowBytes);
    qToLittleEndian<qint32>(-60, reinterpret_cast<uchar*>(topDown.data()) + 22);
    const QString path = f.PhotoPath(QStringLiteral("topdown.bmp"));
    ASSERT_TRUE(WriteFileBytes(path, topDown));

    const TPreparedPhoto photo = Prepare(path);
    ASSERT_TRUE(photo.ok);
    EXPECT_EQ(QSize(photo.info.width, photo.info.height), QSize(30, 60));
    QImage original(bottomUp);
    EXPECT_EQ(photo.preview.pixel(5, 2) & 0xFFFFFF, original.pixel(5, 2) & 0xFFFFFF) << "the top row stays on top";

    f.engine.forceformat = true;
    f.project->defaultFormat = kFormat10x15;
    ASSERT_TRUE(f.project->AddPhoto(path));
    int width = 0, height = 0;
    f.project->GetImageSize(0, width, height);
    EXPECT_EQ(QSize(width, height), QSize(30, 60));
    const Corrections record = f.project->GetCorrections(0);
    EXPECT_EQ(record.rotation, 1);
    const CropFractions expected = AutoCropFractions({ 0, 0, 1795, 1205 }, { 0, 0, 60, 30 });
    EXPECT_EQ(record.crop.left, expected.left);
    EXPECT_EQ(record.crop.bottom, expected.bottom);
    EXPECT_TRUE(f.project->Photo(0).lowQuality);
}

// The copies as the whole-picture definition makes them: LoadPhotoBitmap (the bridge, or the
// general decoder for what the bridge refuses), the 32-bit picture, UprightByOrientation, the
// working copy written whole, the preview resampled to the fitted size.
struct Copies {
    QByteArray working;
    QByteArray preview;
};

Copies WholePictureCopies(const QString& source, int orientation, int previewSize, const QString& folder)
{
    QImage decoded;
    if (!LoadPhotoBitmap(source, decoded))
        return {};
    QImage full = As32BitPicture(decoded);
    if (!UprightByOrientation(full, orientation))
        return {};
    TRect fitted = PictureBounds(full);
    FitRect({ 0, 0, previewSize, previewSize }, fitted, false);
    QImage preview;
    const QString working = folder + QStringLiteral("/reference.sbm"), small = folder + QStringLiteral("/ref_prev.sbm");
    if (!SaveWorkingBitmap(full, working) || !ResampleToSize(full, fitted.Width(), fitted.Height(), &preview)
        || !SaveWorkingBitmap(preview, small))
        return {};
    return { ReadFileBytes(working), ReadFileBytes(small) };
}

// The test picture as a JPEG written by ImageMagick after `adjust` set its options.
QByteArray MagickJpeg(int width, int height, const std::function<void(Magick::Image&)>& adjust)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    TestPicture(width, height).save(&buffer, "PNG");
    Magick::Image image(Magick::Blob(png.constData(), std::size_t(png.size())));
    image.magick("JPEG");
    image.quality(92);
    adjust(image);
    Magick::Blob jpeg;
    image.write(&jpeg);
    return QByteArray(static_cast<const char*>(jpeg.data()), qsizetype(jpeg.length()));
}

// JPEGs are decoded band by band straight into the copies; every kind of JPEG, every
// orientation and the files the bridge refuses give the copies of the whole-picture definition
// byte for byte, and the same preview in memory.
TEST_F(PhotoPrepTest, JpegCopiesAreThoseOfTheWholePictureDefinition)
{
    const QByteArray profile = AdobeRgbProfile();
    const QByteArray odd = MagickJpeg(1001, 667, [](Magick::Image&) {});
    const struct {
        const char* name;
        QByteArray jpeg;
    } files[] = {
        { "odd", odd },
        { "small", MagickJpeg(37, 23, [](Magick::Image& i) { i.defineValue("jpeg", "sampling-factor", "1x1"); }) },
        { "tall", MagickJpeg(301, 1203, [](Magick::Image& i) { i.defineValue("jpeg", "sampling-factor", "2x1"); }) },
        { "progressive", MagickJpeg(640, 481, [](Magick::Image& i) { i.interlaceType(Magick::PlaneInterlace); }) },
        { "grey", MagickJpeg(523, 311, [](Magick::Image& i) { i.type(Magick::GrayscaleType); }) },
        { "cmyk", MagickJpeg(213, 97, [](Magick::Image& i) { i.colorSpace(Magick::CMYKColorspace); }) },
        { "adobe rgb",
            MagickJpeg(1003, 401,
                [&profile](Magick::Image& i) {
                    i.iccColorProfile(Magick::Blob(profile.constData(), std::size_t(profile.size())));
                }) },
        { "truncated", odd.left(odd.size() * 3 / 5) },
    };
    for (const auto& file : files)
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const QString name = QStringLiteral("%1-%2").arg(QLatin1String(file.name)).arg(orientation);
            const QString path = f.PhotoPath(name + QStringLiteral(".jpg"));
            ASSERT_TRUE(WriteFileBytes(path,
                headerbytes::WithExif(
                    file.jpeg, headerbytes::Tiff(false, { { { 274, 3, std::uint32_t(orientation) } } }))));
            const Copies expected = WholePictureCopies(path, orientation, f.config.previewSize, f.TempFolder());
            ASSERT_FALSE(expected.working.isEmpty()) << name.toStdString();
            const TPreparedPhoto photo = Prepare(path);
            ASSERT_TRUE(photo.ok) << name.toStdString() << ": " << photo.failure.toStdString();
            EXPECT_TRUE(ReadFileBytes(photo.slot.workingPath) == expected.working) << name.toStdString();
            EXPECT_TRUE(ReadFileBytes(photo.slot.previewPath) == expected.preview) << name.toStdString();
            QImage stored;
            ASSERT_TRUE(LoadWorkingBitmap(stored, photo.slot.previewPath));
            EXPECT_TRUE(photo.preview == stored) << name.toStdString();
        }
}

} // namespace
