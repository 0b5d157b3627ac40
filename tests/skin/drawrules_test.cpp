#include "platform/muldiv.h"
#include "skin/drawrules.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

} // namespace

TEST(DrawRules, AdjustClampsEachComponent)
{
    EXPECT_EQ(Adjust(QColor(200, 10, 128), 100), QColor(255, 110, 228));
    EXPECT_EQ(Adjust(QColor(200, 10, 128), -50), QColor(150, 0, 78));
    EXPECT_EQ(Lightness(QColor(200, 200, 200)), 200);
    EXPECT_EQ(Lightness(QColor(255, 0, 100)), 127);
    EXPECT_EQ(Inverse(QColor(255, 0, 100)), QColor(0, 255, 155));
}

TEST(DrawRules, ShadedFillDarkensTopAndLightensBottom)
{
    QImage image = Canvas(3, 25);
    {
        QPainter painter(&image);
        ShadedFill(painter, QRect(0, 0, 3, 25), QColor(128, 128, 128), -100);
    }
    // row y: Adjust(base, -100 * (12 - y) / 25)
    EXPECT_EQ(image.pixelColor(0, 0), QColor(80, 80, 80));
    EXPECT_EQ(image.pixelColor(2, 12), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(1, 24), QColor(176, 176, 176));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(84, 84, 84)); // -1100/25 = -44
    EXPECT_EQ(image.pixelColor(1, 13), QColor(132, 132, 132)); // 100/25 = 4
}

TEST(DrawRules, ContrastRatioFollowsRelativeLuminance)
{
    EXPECT_DOUBLE_EQ(ContrastRatio(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(Qt::white, Qt::black), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(QColor(90, 20, 200), QColor(90, 20, 200)), 1.0);
    EXPECT_NEAR(ContrastRatio(QColor(118, 118, 118), Qt::white), 4.54, 0.01); // the lightest grey that reads on white
    EXPECT_NEAR(ContrastRatio(QColor(255, 0, 0), Qt::white), 4.0, 0.01);
}

// The disabled caption keeps its documented side of the face while it can, and goes no further
// than it must to read at 4.5:1 against both ends of the face under it.
TEST(DrawRules, DisabledCaptionMovesAwayFromTheFaceUntilItReads)
{
    struct Case {
        QColor face, rowA, rowB;
        bool darker;
    };
    const Case cases[] = {
        { QColor(200, 200, 200), QColor(200, 200, 200), QColor(200, 200, 200), true },
        { QColor(222, 228, 236), QColor(206, 212, 220), QColor(238, 244, 252), true }, // a shaded face
        { QColor(40, 60, 80), QColor(40, 60, 80), QColor(40, 60, 80), false },
        { QColor(78, 84, 95), QColor(62, 68, 79), QColor(98, 104, 115), false },
        // Lightness 100 asks for darker, but black does not read on it: lighter then.
        { QColor(100, 100, 100), QColor(100, 100, 100), QColor(100, 100, 100), false },
    };
    for (const Case& c : cases) {
        const QColor caption = DisabledCaptionColor(c.face, c.rowA, c.rowB);
        const std::string what = c.face.name().toStdString();
        EXPECT_GE(std::min(ContrastRatio(caption, c.rowA), ContrastRatio(caption, c.rowB)), kReadableContrast) << what;
        EXPECT_EQ(caption.red() < c.face.red(), c.darker) << what;
        const QColor lessFar = Adjust(caption, c.darker ? 1 : -1);
        EXPECT_LT(std::min(ContrastRatio(lessFar, c.rowA), ContrastRatio(lessFar, c.rowB)), kReadableContrast) << what;
    }
    // Rows that no colour reads on at 4.5:1 get the better of black and white.
    EXPECT_EQ(
        DisabledCaptionColor(QColor(125, 125, 125), QColor(110, 110, 110), QColor(140, 140, 140)), QColor(Qt::black));
}

TEST(DrawRules, Edge3DPutsTheCornersWhereTheyBelong)
{
    QImage image = Canvas(6, 5);
    {
        QPainter painter(&image);
        Edge3D(painter, QRect(0, 0, 6, 5), Qt::white, Qt::red);
    }
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(0, 4), QColor(Qt::white)); // bottom-left: c1
    EXPECT_EQ(image.pixelColor(5, 0), QColor(Qt::red)); // top-right: c2
    EXPECT_EQ(image.pixelColor(5, 4), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(3, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(3, 4), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black)); // inside untouched
}

TEST(DrawRules, LinearGradientRunsFromFirstToLastColourAndHonoursTheLimit)
{
    QImage image = Canvas(11, 2);
    {
        QPainter painter(&image);
        LinearGradient(painter, QRect(0, 0, 11, 1), QColor(0, 0, 0), QColor(100, 200, 255), TGradientAxis::Horizontal);
        LinearGradient(
            painter, QRect(0, 1, 11, 1), QColor(0, 0, 0), QColor(100, 200, 255), TGradientAxis::Horizontal, 4);
    }
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(5, 0), QColor(50, 100, 128)); // 127.5 rounds up
    EXPECT_EQ(image.pixelColor(10, 0), QColor(100, 200, 255));
    EXPECT_EQ(image.pixelColor(3, 1), image.pixelColor(3, 0)); // same steps under a limit
    EXPECT_EQ(image.pixelColor(4, 1), QColor(0, 0, 0)); // nothing past the limit
}

TEST(DrawRules, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(50, 100, 200), 25);
    EXPECT_EQ(MulDiv(1, 100, 3), 33);
    EXPECT_EQ(MulDiv(2, 100, 3), 67);
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000); // 64-bit intermediate
}
