#pragma once
// Pictures the imaging tests work on.
#include <QImage>

#include <cstdint>
#include <random>

// A 32-bit picture of random pixels (alpha included), the same for the same seed.
inline QImage RandomPicture(int width, int height, std::uint32_t seed = 9)
{
    std::mt19937 random(seed);
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<std::uint32_t*>(picture.scanLine(y))[x] = std::uint32_t(random());
    return picture;
}
