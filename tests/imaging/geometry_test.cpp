// Geometry: rectangle arithmetic with its exact rounding, quarter turns, crops, resampling and
// framing on a print sheet.
#include "imaging/geometry.h"
#include "imaging/picture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::uint32_t At(const QImage& picture, int x, int y)
{
    return reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y))[x];
}

// A picture whose pixel (x, y) holds x << 16 | y.
QImage Numbered(int width, int height)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<std::uint32_t*>(picture.scanLine(y))[x] = std::uint32_t(x) << 16 | std::uint32_t(y);
    return picture;
}

std::uint32_t Number(int x, int y)
{
    return std::uint32_t(x) << 16 | std::uint32_t(y);
}

} // namespace

struct FitCase {
    TRect box, obj;
    bool enlarge;
    TRect expected;
    float scale;
};

class FitRectCases : public testing::TestWithParam<FitCase> { };

TEST_P(FitRectCases, ScalesAndRoundsTiesToEven)
{
    TRect obj = GetParam().obj;
    EXPECT_FLOAT_EQ(FitRect(GetParam().box, obj, GetParam().enlarge), GetParam().scale);
    EXPECT_EQ(obj, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Geometry, FitRectCases,
    testing::Values(FitCase { { 0, 0, 800, 800 }, { 0, 0, 400, 300 }, false, { 0, 0, 400, 300 }, 1.0f },
        FitCase { { 0, 0, 800, 800 }, { 0, 0, 400, 300 }, true, { 0, 0, 800, 600 }, 2.0f },
        FitCase { { 0, 0, 800, 800 }, { 0, 0, 3000, 2000 }, false, { 0, 0, 800, 533 }, 800.0f / 3000 },
        FitCase { { 10, 20, 110, 70 }, { 5, 5, 25, 15 }, true, { 10, 20, 110, 70 }, 5.0f },
        // 4 x 1 into 2 x 2: height 1 / 2 = 0.5 rounds to the even 0
        FitCase { { 0, 0, 2, 2 }, { 0, 0, 4, 1 }, true, { 0, 0, 2, 0 }, 0.5f },
        // 4 x 3 into 2 x 2: 3 / 2 = 1.5 rounds to 2
        FitCase { { 0, 0, 2, 2 }, { 0, 0, 4, 3 }, true, { 0, 0, 2, 2 }, 0.5f },
        FitCase { { 0, 0, 0, 10 }, { 0, 0, 4, 3 }, true, { 0, 0, 4, 3 }, 0.0f }));

TEST(Geometry, CenterRectTruncatesTowardZero)
{
    TRect obj { 0, 0, 101, 10 };
    CenterRect({ 0, 0, 100, 10 }, obj);
    EXPECT_EQ(obj, (TRect { 0, 0, 101, 10 }));
    obj = { 0, 0, 98, 10 };
    CenterRect({ 50, 0, 150, 10 }, obj);
    EXPECT_EQ(obj, (TRect { 51, 0, 149, 10 }));
}

TEST(Geometry, FractionsRoundInExtendedPrecisionWithTiesToEven)
{
    EXPECT_EQ(FractionsToRect({ 0.5f, 0.5f, 0, 0, 0.5f, 0.5f }, 5, 7), (TRect { 2, 4, 2, 4 }));
    EXPECT_EQ(FractionsToRect({ 0.1f, 0.25f, 0, 0, 0.9f, 1.0f }, 3000, 2000), (TRect { 300, 500, 2700, 2000 }));
    const CropFractions f = RectToFractions({ 300, 500, 2700, 2000 }, 3000, 2000);
    EXPECT_FLOAT_EQ(f.width, 0.8f);
    EXPECT_FLOAT_EQ(f.height, 0.75f);
    EXPECT_EQ(FractionsToRect(f, 3000, 2000), (TRect { 300, 500, 2700, 2000 }));
    EXPECT_EQ(RectToFractions({ 1, 1, 2, 2 }, 0, 5).left, kNoCrop);
}

TEST(Geometry, AutoCropOfALandscapeFormatOnASquarePhoto)
{
    const CropFractions f = AutoCropFractions({ 0, 0, 15, 10 }, { 0, 0, 3000, 3000 });
    EXPECT_FLOAT_EQ(f.left, 0.0f);
    EXPECT_NEAR(f.top, 0.16667f, 1e-5);
    EXPECT_FLOAT_EQ(f.width, 1.0f);
    EXPECT_NEAR(f.height, 0.66667f, 1e-5);
    EXPECT_FLOAT_EQ(f.right, 1.0f);
    EXPECT_NEAR(f.bottom, 0.83333f, 1e-5);
    const CropFractions same = AutoCropFractions({ 0, 0, 1800, 1200 }, { 0, 0, 3000, 2000 });
    EXPECT_EQ((TRect { 0, 0, 3000, 2000 }), FractionsToRect(same, 3000, 2000));
}

TEST(Geometry, AspectScaleAndMillimetres)
{
    EXPECT_FLOAT_EQ(RectAspect({ 0, 0, 3, 2 }), 1.5f);
    EXPECT_TRUE(std::isnan(RectAspect({ 0, 0, 3, 0 })));

    TRect rect { 10, 10, 40, 30 };
    SetWidthKeepAspect(rect, 60, -1);
    EXPECT_EQ(rect, (TRect { 10, 10, 70, 50 }));
    SetWidthKeepAspect(rect, 5, 2.0f); // 2.5 rounds to 2
    EXPECT_EQ(rect, (TRect { 10, 10, 15, 12 }));

    rect = { 0, 0, 5, 3 };
    ScaleRect(rect, 0.5f); // 2.5 -> 2, 1.5 -> 2
    EXPECT_EQ(rect, (TRect { 0, 0, 2, 2 }));

    EXPECT_EQ(MmToPixels(152, 300), 1795);
    EXPECT_EQ(MmToPixels(102, 300), 1205);
    EXPECT_EQ(MmToPixels(0, 300), 0);
    EXPECT_FLOAT_EQ(PixelsToMm(300, 300), 25.4f);
    EXPECT_EQ(PixelsToMm(300, 0), 0.0f);
    EXPECT_FLOAT_EQ(EnlargementFactor({ 0, 0, 1800, 1200 }, { 0, 0, 900, 600 }), 2.0f);
}

TEST(Geometry, QuarterTurnsMovePixelsWhereTheCodeSays)
{
    const QImage original = Numbered(4, 2);
    QImage turned = original;
    ASSERT_TRUE(RotateQuarter(turned, 1));
    ASSERT_EQ(turned.size(), QSize(2, 4));
    EXPECT_EQ(At(turned, 1, 0), Number(0, 0)); // top-left goes to the top right
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(At(turned, 2 - 1 - y, x), Number(x, y));

    turned = original;
    ASSERT_TRUE(RotateQuarter(turned, 3));
    EXPECT_EQ(At(turned, 0, 3), Number(0, 0)); // top-left goes to the bottom left
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(At(turned, y, 4 - 1 - x), Number(x, y));

    turned = original;
    ASSERT_TRUE(RotateQuarter(turned, 2));
    EXPECT_EQ(At(turned, 3, 1), Number(0, 0));
    EXPECT_EQ(At(turned, 0, 0), Number(3, 1));
    ASSERT_TRUE(RotateQuarter(turned, 2));
    EXPECT_EQ(turned, original);

    for (const int code : { 0, 4, -1 }) {
        turned = original;
        EXPECT_TRUE(RotateQuarter(turned, code));
        EXPECT_EQ(turned, original);
    }
}

TEST(Geometry, QuarterTurnsOfALargePictureUseEveryTile)
{
    QImage picture = Numbered(333, 517);
    ASSERT_TRUE(RotateQuarter(picture, 1));
    ASSERT_TRUE(RotateQuarter(picture, 1));
    ASSERT_TRUE(RotateQuarter(picture, 3));
    ASSERT_TRUE(RotateQuarter(picture, 3));
    EXPECT_EQ(picture, Numbered(333, 517));
    ASSERT_TRUE(RotateQuarter(picture, 2)); // an odd height: the middle row turns in place
    EXPECT_EQ(At(picture, 0, 0), Number(332, 516));
    EXPECT_EQ(At(picture, 0, 258), Number(332, 258));
    ASSERT_TRUE(RotateQuarter(picture, 2));
    EXPECT_EQ(picture, Numbered(333, 517));
}

TEST(Geometry, CropClipsToThePictureOrRefuses)
{
    QImage picture = Numbered(10, 6);
    ASSERT_TRUE(CropBitmap(picture, nullptr, { 7, 2, 11, 5 }, true)); // one pixel past the right edge
    ASSERT_EQ(picture.size(), QSize(3, 3));
    EXPECT_EQ(At(picture, 0, 0), Number(7, 2));
    EXPECT_EQ(At(picture, 2, 2), Number(9, 4));

    picture = Numbered(10, 6);
    EXPECT_FALSE(CropBitmap(picture, nullptr, { 7, 2, 11, 5 }, false)); // "Invalid crop call."
    EXPECT_FALSE(CropBitmap(picture, nullptr, { -1, 0, 5, 5 }, false));
    EXPECT_FALSE(CropBitmap(picture, nullptr, { 12, 0, 20, 5 }, true)); // nothing left
    EXPECT_EQ(picture.size(), QSize(10, 6));

    QImage dest(4, 4, QImage::Format_ARGB32);
    dest.fill(0);
    ASSERT_TRUE(CropBitmap(picture, &dest, { 1, 1, 3, 3 }, false));
    EXPECT_EQ(At(dest, 1, 1), Number(2, 2));
    EXPECT_EQ(At(dest, 3, 3), 0u);
    EXPECT_FALSE(CropBitmap(picture, &dest, { 0, 0, 5, 5 }, false)); // dest too small

    picture = Numbered(10, 6);
    ASSERT_TRUE(CropByFractions(picture, { 0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 1.0f }));
    EXPECT_EQ(picture.size(), QSize(5, 3));
    EXPECT_EQ(At(picture, 0, 0), Number(5, 3));
}

TEST(Geometry, ResampleToFitSamplesTheNearestPixel)
{
    QImage picture = Numbered(2, 2);
    ASSERT_TRUE(ResampleToFit(picture, 8, 4)); // fits 4 x 4
    ASSERT_EQ(picture.size(), QSize(4, 4));
    EXPECT_EQ(At(picture, 0, 0), Number(0, 0));
    EXPECT_EQ(At(picture, 1, 1), Number(0, 0));
    EXPECT_EQ(At(picture, 2, 1), Number(1, 0));
    EXPECT_EQ(At(picture, 3, 3), Number(1, 1));

    const QImage large = Numbered(9, 3);
    QImage into;
    picture = large;
    ASSERT_TRUE(ResampleToFit(picture, 3, 3, &into));
    EXPECT_EQ(picture, large);
    ASSERT_EQ(into.size(), QSize(3, 1));
    EXPECT_EQ(At(into, 0, 0), Number(1, 1));
    EXPECT_EQ(At(into, 2, 0), Number(7, 1));
}

TEST(Geometry, FitIntoFramePlacesThePhotoOnAWhiteSheet)
{
    QImage photo(1000, 1000, QImage::Format_ARGB32);
    photo.fill(0xFF102030u);
    ASSERT_TRUE(FitIntoFrame({ 0, 0, 1800, 1200 }, photo, 0xFFFFFFFFu, { -1, 0, 0, 0 }));
    ASSERT_EQ(photo.size(), QSize(1800, 1200));
    EXPECT_EQ(At(photo, 299, 600), 0xFFFFFFFFu);
    EXPECT_EQ(At(photo, 300, 0), 0xFF102030u);
    EXPECT_EQ(At(photo, 1499, 1199), 0xFF102030u);
    EXPECT_EQ(At(photo, 1500, 600), 0xFFFFFFFFu);

    QImage thumb(300, 200, QImage::Format_ARGB32);
    thumb.fill(0xFF000000u);
    ASSERT_TRUE(FitIntoFrame({ 0, 0, 1795, 1205 }, thumb, 0xFFFFFFFFu, { 0, 0, 150, 150 }));
    EXPECT_EQ(thumb.size(), QSize(150, 101));

    QImage untouched = thumb;
    EXPECT_TRUE(FitIntoFrame({ -1, 0, 0, 0 }, untouched, 0xFFFFFFFFu, { -1, 0, 0, 0 }));
    EXPECT_EQ(untouched, thumb);
}

TEST(Geometry, StretchDrawFastCopiesNearestPixels)
{
    QImage source = Numbered(2, 1);
    source.setPixel(0, 0, 0xFFFF0000u);
    source.setPixel(1, 0, 0xFF0000FFu);
    QImage target(4, 2, QImage::Format_ARGB32);
    target.fill(0);
    {
        QPainter painter(&target);
        StretchDraw(source, { 0, 0, 2, 1 }, { 0, 0, 4, 2 }, true, painter);
    }
    EXPECT_EQ(At(target, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(At(target, 2, 0), 0xFF0000FFu);
}

TEST(Picture, RefusesAbsurdSizes)
{
    EXPECT_TRUE(NewPicture(70000, 10).isNull());
    EXPECT_TRUE(NewPicture(0, 10).isNull());
    EXPECT_TRUE(NewPicture(20000, 20000).isNull()); // 400 MP
    const QImage large = NewPicture(3000, 2000); // huge-page backed
    ASSERT_FALSE(large.isNull());
    EXPECT_EQ(large.bytesPerLine(), 12000);
    EXPECT_EQ(NewPicture(3, 2, QImage::Format_BGR888).bytesPerLine(), 12);
}

TEST(Picture, DecodedPhotosBecomeOpaque32BitPictures)
{
    QImage decoded(1001, 700, QImage::Format_BGR888); // large enough for huge pages and threads
    for (int y = 0; y < decoded.height(); ++y)
        for (int x = 0; x < decoded.width() * 3; ++x)
            decoded.scanLine(y)[x] = uchar(x * 7 + y);
    const QImage converted = As32BitPicture(decoded);
    EXPECT_EQ(converted.format(), QImage::Format_ARGB32);
    EXPECT_EQ(converted, decoded.convertToFormat(QImage::Format_ARGB32));
}
