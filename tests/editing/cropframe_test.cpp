// The crop window's arithmetic: hit zones, corner resizes, confined moves, the way from the
// screen back to crop fractions, and the fading around the crop.
#include "editing/cropframe.h"

#include <gtest/gtest.h>

#include <cmath>

// Found by argument lookup in TRect's (global) namespace.
static void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

TEST(CropFrame, ZonesAreTheFourCornersAndTheMoveZone)
{
    const struct {
        int x, y;
        TFrameZone zone;
    } cases[] = {
        { 0, 0, kTopLeft },
        { 9, 9, kTopLeft },
        { 10, 9, kMoveZone },
        { 9, 10, kMoveZone },
        { 190, 0, kTopRight },
        { 189, 0, kMoveZone },
        { 0, 90, kBottomLeft },
        { 0, 89, kMoveZone },
        { 199, 99, kBottomRight },
        { 190, 90, kBottomRight },
        { 100, 0, kMoveZone },
        { 0, 50, kMoveZone },
        { 100, 50, kMoveZone },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameZoneAt(c.x, c.y, 200, 100), c.zone) << c.x << "," << c.y;
}

TEST(CropFrame, CornerDragsKeepTheAspectAndTheOppositeCorner)
{
    const TRect start { 100, 100, 400, 300 }; // 3:2
    EXPECT_EQ(ResizeFrame(start, kBottomRight, -30), (TRect { 100, 100, 430, 320 }));
    EXPECT_EQ(ResizeFrame(start, kTopLeft, 30), (TRect { 70, 80, 400, 300 }));
    EXPECT_EQ(ResizeFrame(start, kTopRight, -30), (TRect { 100, 80, 430, 300 }));
    EXPECT_EQ(ResizeFrame(start, kBottomLeft, 30), (TRect { 70, 100, 400, 320 }));
    EXPECT_EQ(ResizeFrame(start, kBottomRight, 60), (TRect { 100, 100, 340, 260 })); // dragged inward
}

TEST(CropFrame, AResizedFrameMustBe100By100AndInsideThePicture)
{
    const TRect image { 50, 60, 450, 360 };
    EXPECT_TRUE(FrameFits({ 50, 60, 150, 160 }, image));
    EXPECT_TRUE(FrameFits(image, image));
    EXPECT_FALSE(FrameFits({ 50, 60, 149, 160 }, image));
    EXPECT_FALSE(FrameFits({ 50, 60, 150, 159 }, image));
    EXPECT_FALSE(FrameFits({ 49, 60, 200, 200 }, image));
    EXPECT_FALSE(FrameFits({ 300, 200, 451, 300 }, image));
    EXPECT_FALSE(FrameFits({ 300, 200, 400, 361 }, image));
}

TEST(CropFrame, AMoveNeverLeavesThePicture)
{
    const TRect image { 50, 60, 450, 360 };
    const TFrameMove move(1000, 1000, { 100, 100, 300, 200 }, image);
    EXPECT_EQ(move.FrameAt(1010, 1005), (TRect { 110, 105, 310, 205 }));
    EXPECT_EQ(move.FrameAt(900, 900), (TRect { 50, 60, 250, 160 }));
    EXPECT_EQ(move.FrameAt(5000, 5000), (TRect { 250, 260, 450, 360 }));
    EXPECT_EQ(move.FrameAt(5000, 1000), (TRect { 250, 100, 450, 200 }));
    // Back from far outside, the frame follows as soon as the cursor is over a place it can take.
    EXPECT_EQ(move.FrameAt(1100, 1000), (TRect { 200, 100, 400, 200 }));
}

TEST(CropFrame, FromFractionsToTheScreenAndBack)
{
    const TDisplayTransform transform = FitPictureInto({ 0, 0, 600, 500 }, 300, 200);
    EXPECT_FLOAT_EQ(transform.scale, 2.0f);
    EXPECT_EQ(transform.ox, 0);
    EXPECT_EQ(transform.oy, 50);
    EXPECT_EQ(ImageOnScreen(transform, 300, 200), (TRect { 0, 50, 600, 450 }));

    const CropFractions crop = RectToFractions({ 30, 20, 270, 180 }, 300, 200);
    const TRect frame = FrameOnScreen(transform, 300, 200, crop);
    EXPECT_EQ(frame, (TRect { 60, 90, 540, 410 }));
    EXPECT_EQ(FractionsToRect(FrameToCrop(frame, transform, 300, 200), 300, 200), (TRect { 30, 20, 270, 180 }));

    // A frame reaching past the left and top edges is pushed back inside.
    const CropFractions pushed = FrameToCrop({ -6, 40, 474, 360 }, transform, 300, 200);
    EXPECT_EQ(FractionsToRect(pushed, 300, 200), (TRect { 0, 0, 240, 160 }));
}

TEST(CropFrame, ShadingFadesOnlyOutsideTheCrop)
{
    QImage working(4, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 4; ++x)
        working.setPixel(x, 0, qRgba(200, 100, 0, 0)); // alpha of the working picture is ignored
    const TRect crop { 1, 0, 3, 1 };
    const struct {
        int alpha;
        int background;
        QRgb outside;
    } cases[] = {
        { 0, -1, qRgb(255, 255, 255) }, // only the background
        { 255, -1, qRgb(200, 100, 0) }, // not faded at all
        { 300, -1, qRgb(200, 100, 0) }, // limited to 255
        { -5, 0x0000FF, qRgb(255, 0, 0) }, // limited to 0; red in the low byte
        { 64, -1, qRgb(241, 216, 191) }, // (200*64 + 255*191) / 255 rounded
    };
    for (const auto& c : cases) {
        const QImage display = ShadeOutsideCrop(working, crop, c.alpha, c.background);
        ASSERT_EQ(display.size(), working.size());
        EXPECT_EQ(display.pixel(0, 0), c.outside) << c.alpha;
        EXPECT_EQ(display.pixel(3, 0), c.outside) << c.alpha;
        EXPECT_EQ(display.pixel(1, 0), qRgb(200, 100, 0)) << c.alpha;
        EXPECT_EQ(display.pixel(2, 0), qRgb(200, 100, 0)) << c.alpha;
    }
}
