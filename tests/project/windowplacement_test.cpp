// Where the main window opens: a first start at 80 % of the screen, later where it was left,
// always on the screen and never below the minimum.
#include "project/windowplacement.h"

#include <gtest/gtest.h>

TEST(OpeningGeometry, FirstStartAndTheRectangleLeftFitTheScreen)
{
    const QRect screen(0, 0, 1000, 800);
    const QSize minimum(700, 500);
    struct Case {
        const char* what;
        std::optional<QRect> left;
        QRect available;
        QSize minimum;
        QRect opens;
    };
    const Case cases[] = {
        { "first start: 80 % centred", std::nullopt, screen, minimum, QRect(100, 80, 800, 640) },
        { "first start on a small screen: the minimum", std::nullopt, QRect(0, 0, 800, 600), minimum,
            QRect(50, 50, 700, 500) },
        { "first start on a second screen", std::nullopt, QRect(1920, 24, 1280, 1000), minimum,
            QRect(2048, 124, 1024, 800) },
        { "left inside: kept", QRect(50, 60, 900, 700), screen, minimum, QRect(50, 60, 900, 700) },
        { "left larger than the screen: the screen", QRect(-20, -10, 1200, 900), screen, minimum,
            QRect(0, 0, 1000, 800) },
        { "left half off the right edge: moved in", QRect(600, 100, 900, 650), screen, minimum,
            QRect(100, 100, 900, 650) },
        { "left below the minimum: grown", QRect(10, 10, 300, 200), screen, minimum, QRect(10, 10, 700, 500) },
        { "left on a screen that has gone: a first start", QRect(3000, 3000, 800, 600), screen, minimum,
            QRect(100, 80, 800, 640) },
        { "minimum larger than the screen: the minimum at its corner", QRect(100, 100, 500, 300), QRect(0, 0, 600, 400),
            minimum, QRect(0, 0, 700, 500) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(OpeningGeometry(c.left, c.available, c.minimum), c.opens) << c.what;
}
