#include "platform/muldiv.h"
#include "ui/drawrules.h"

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
