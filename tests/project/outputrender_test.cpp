// The print image: sheet sizes, placement with white bands, no-format output, and pixel
// equality with the plain pipeline (ApplyCorrections with geometry, then FitIntoFrame) for
// every turn, crop and colour setting, from a picture in memory and from a working copy read
// in bands.
#include "tests/project/projectfixture.h"

#include "imaging/colour.h"
#include "imaging/geometry.h"
#include "imaging/workingcopy.h"
#include "project/outputrender.h"
#include "tests/imaging/testpictures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

Corrections Neutral()
{
    Corrections record;
    InitCorrections(record);
    return record;
}

QImage Plain(QImage picture, const Corrections& record, const TRect& formatRect)
{
    ApplyCorrections(picture, record, true);
    FitIntoFrame(formatRect, picture, kWhite, { -1, 0, 0, 0 });
    return picture;
}

QImage Filled(int width, int height, QRgb colour)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(colour);
    return picture;
}

bool RowIs(const QImage& picture, int y, std::uint32_t value)
{
    for (int x = 0; x < picture.width(); ++x)
        if (picture.pixel(x, y) != value)
            return false;
    return true;
}

struct SheetCase {
    int sideA;
    int sideB;
    int dpi;
    QSize sheet;
};

void PrintTo(const SheetCase& c, std::ostream* os)
{
    *os << c.sideA << "x" << c.sideB << " mm at " << c.dpi << " dpi";
}

class SheetSizeTest : public ::testing::TestWithParam<SheetCase> { };

TEST_P(SheetSizeTest, SheetIsTheFormatAtTheLabsResolution)
{
    const SheetCase c = GetParam();
    TFormats formats;
    formats.Add({ .id = 7, .name = QStringLiteral("f"), .price = 100, .widthMm = c.sideA, .heightMm = c.sideB });
    TRect rect;
    formats.GetRect(7, c.dpi, rect);
    const QImage sheet = RenderPrint(TestPicture(30, 20), Neutral(), rect);
    EXPECT_EQ(sheet.size(), c.sheet);
}

INSTANTIATE_TEST_SUITE_P(Table, SheetSizeTest,
    ::testing::Values(SheetCase { 102, 152, 300, { 1795, 1205 } }, SheetCase { 152, 102, 300, { 1795, 1205 } },
        SheetCase { 127, 178, 254, { 1780, 1270 } }));

TEST(RenderPrintTest, WiderPhotoGetsBandsAboveAndBelow)
{
    const QImage sheet = RenderPrint(Filled(3000, 2000, qRgb(10, 20, 30)), Neutral(), { 0, 0, 1795, 1205 });
    ASSERT_EQ(sheet.size(), QSize(1795, 1205));
    for (int y : { 0, 3, 1201, 1204 })
        EXPECT_TRUE(RowIs(sheet, y, kWhite)) << y;
    for (int y : { 4, 600, 1200 })
        EXPECT_TRUE(RowIs(sheet, y, qRgb(10, 20, 30))) << y;
}

TEST(RenderPrintTest, CropOfTheFormatsAspectFillsTheSheet)
{
    Corrections record = Neutral();
    record.crop = AutoCropFractions({ 0, 0, 1795, 1205 }, { 0, 0, 3000, 2000 });
    const QImage sheet = RenderPrint(Filled(3000, 2000, qRgb(10, 20, 30)), record, { 0, 0, 1795, 1205 });
    for (int y : { 0, 1204 })
        EXPECT_TRUE(RowIs(sheet, y, qRgb(10, 20, 30))) << y;
    EXPECT_EQ(sheet.pixel(0, 600), qRgb(10, 20, 30));
    EXPECT_EQ(sheet.pixel(1794, 600), qRgb(10, 20, 30));
}

TEST(RenderPrintTest, WithoutFormatTheCorrectedPhotoKeepsItsSize)
{
    Corrections record = Neutral();
    record.rotation = 1;
    record.crop = RectToFractions({ 5, 10, 25, 50 }, 40, 60);
    const QImage source = TestPicture(60, 40);
    const QImage output = RenderPrint(source, record, { -1, 0, 0, 0 });
    EXPECT_EQ(output.size(), QSize(20, 40));
    EXPECT_EQ(output, Plain(source, record, { -1, 0, 0, 0 }));
    EXPECT_TRUE(RenderPrint(QImage(), record, { -1, 0, 0, 0 }).isNull());
}

TEST(RenderPrintTest, SamePhotoTwiceGivesSamePixels)
{
    Corrections record = Neutral();
    record.rotation = 3;
    record.contr = 35;
    record.hue1 = 40;
    const QImage source = TestPicture(640, 480);
    const QImage first = RenderPrint(source, record, { 0, 0, 1795, 1205 });
    ASSERT_EQ(first.size(), QSize(1795, 1205));
    EXPECT_NE(first.pixel(897, 602), kWhite); // the photo is on the sheet
    EXPECT_EQ(first, RenderPrint(source, record, { 0, 0, 1795, 1205 }));
}

// Every combination of turn (7 is not a turn), crop, colours and sheet against the plain
// pipeline.
TEST(RenderPrintTest, SameAsPlainPipelineForEveryCombination)
{
    const CropFractions crops[] = { { kNoCrop, 0, 0, 0, 0, 0 }, { 0.13f, 0.21f, 0.6f, 0.5f, 0.73f, 0.71f },
        { 0.5f, 0.4f, 0.9f, 0.9f, 1.4f, 1.3f }, // clipped
        { 1.2f, 0.1f, 0.2f, 0.2f, 1.4f, 0.3f } }; // empty once clipped
    const TRect sheets[] = { { -1, 0, 0, 0 }, { 0, 0, 50, 31 }, { 0, 0, 211, 143 }, { 0, 0, 77, 160 } };
    const QImage source = TestPicture(97, 61);
    for (int rotation : { 0, 1, 2, 3, 7 }) {
        for (const CropFractions& crop : crops) {
            for (int colour = 0; colour < 4; ++colour) {
                Corrections record = Neutral();
                record.rotation = rotation;
                record.crop = crop;
                if (colour == 1) { // everything
                    record.sat = 37;
                    record.inten = -12;
                    record.contr = 44;
                    record.balr = 20;
                    record.balg = -33;
                    record.balb = 9;
                    record.hue1 = 75;
                    record.hue2 = 15;
                    record.hue3 = -10;
                } else if (colour == 2) { // the pivot alone
                    record.contr = -60;
                } else if (colour == 3) {
                    record.blackWhite = 1;
                    record.sepia = 1;
                    record.contr = 25;
                }
                for (const TRect& sheet : sheets) {
                    SCOPED_TRACE(testing::Message() << "rotation " << rotation << " crop " << crop.left << " colour "
                                                    << colour << " sheet " << sheet.Width() << "x" << sheet.Height());
                    const QImage fast = RenderPrint(source, record, sheet);
                    const QImage plain = Plain(source, record, sheet);
                    ASSERT_EQ(fast.size(), plain.size());
                    EXPECT_TRUE(fast == plain);
                }
            }
        }
    }
}

TEST(RenderPrintTest, LargePhotoMatchesPlainPipelineOnAllCores)
{
    // Big enough that the pivot, placement and colours run in parallel bands.
    Corrections record = Neutral();
    record.rotation = 1;
    record.crop = { 0.05f, 0.1f, 0.8f, 0.85f, 0.85f, 0.95f };
    record.contr = 20;
    record.sat = -40;
    const QImage source = TestPicture(2400, 1600);
    EXPECT_TRUE(RenderPrint(source, record, { 0, 0, 1795, 1205 }) == Plain(source, record, { 0, 0, 1795, 1205 }));
}

// The working copy read in bands against the whole-picture pipeline, on a picture of random
// pixels: every turn, crop and band size, with and without the contrast pivot (which reads
// every row under the crop; without it only the sampled rows are read).
TEST(RenderWorkingCopyTest, BandsGiveTheWholePictureResult)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.sbm"));
    const QImage source = RandomPicture(97, 61);
    ASSERT_TRUE(SaveWorkingBitmap(source, path));
    const CropFractions crops[] = { { kNoCrop, 0, 0, 0, 0, 0 }, { 0.13f, 0.21f, 0.6f, 0.5f, 0.73f, 0.71f },
        { 0.5f, 0.4f, 0.9f, 0.9f, 1.4f, 1.3f }, // clipped
        { 1.2f, 0.1f, 0.2f, 0.2f, 1.4f, 0.3f } }; // empty once clipped
    const TRect sheets[] = { { 0, 0, 50, 31 }, { 0, 0, 211, 143 }, { -1, 0, 0, 0 } };
    const std::int64_t bands[] = { 1, 97 * 4 * 7, kRenderBandBytes }; // one row, seven rows, all
    for (int rotation : { 0, 1, 2, 3, 7 }) {
        for (const CropFractions& crop : crops) {
            for (const int contrast : { 0, -45 }) {
                Corrections record = Neutral();
                record.rotation = rotation;
                record.crop = crop;
                record.contr = contrast;
                record.sat = 30;
                for (const TRect& sheet : sheets) {
                    const QImage plain = Plain(source, record, sheet);
                    for (const std::int64_t band : bands) {
                        SCOPED_TRACE(testing::Message()
                            << "rotation " << rotation << " crop " << crop.left << " contrast " << contrast << " sheet "
                            << sheet.Width() << "x" << sheet.Height() << " band " << band);
                        EXPECT_TRUE(RenderWorkingCopy(path, record, sheet, band) == plain);
                    }
                }
            }
        }
    }
}

// Bands large enough to be split over the cores, each turn with the pivot and without.
TEST(RenderWorkingCopyTest, LargePictureInParallelBands)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.sbm"));
    const QImage source = RandomPicture(1500, 1000, 4);
    ASSERT_TRUE(SaveWorkingBitmap(source, path));
    const TRect sheet = { 0, 0, 1795, 1205 };
    for (int rotation : { 0, 1, 2, 3 }) {
        for (const int contrast : { 0, 30 }) {
            SCOPED_TRACE(testing::Message() << "rotation " << rotation << " contrast " << contrast);
            Corrections record = Neutral();
            record.rotation = rotation;
            record.crop = { 0.05f, 0.1f, 0.8f, 0.85f, 0.85f, 0.95f };
            record.contr = contrast;
            record.inten = 12;
            EXPECT_TRUE(
                RenderWorkingCopy(path, record, sheet, std::int64_t(1500) * 4 * 400) == Plain(source, record, sheet));
        }
    }
}

TEST(RenderWorkingCopyTest, UnreadableCopyGivesWhiteSheetOrNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.sbm"));
    ASSERT_TRUE(SaveWorkingBitmap(TestPicture(40, 30), path));
    QFile header(path); // a 24-bit header: the size adds up, the rows are not 32-bit pixels
    ASSERT_TRUE(header.open(QIODevice::ReadWrite));
    header.seek(12);
    header.write(QByteArray("\x18\0\0\0", 4));
    header.close();
    for (const QString& file : { path, dir.filePath(QStringLiteral("missing.sbm")) }) {
        const QImage sheet = RenderWorkingCopy(file, Neutral(), { 0, 0, 60, 40 });
        ASSERT_EQ(sheet.size(), QSize(60, 40));
        EXPECT_EQ(sheet, Filled(60, 40, kWhite));
        EXPECT_TRUE(RenderWorkingCopy(file, Neutral(), { -1, 0, 0, 0 }).isNull());
    }
}

} // namespace
