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

// Gradients with a little noise, so that every component and every block differs.
inline QImage NoisyGradient(int width, int height, QImage::Format format)
{
    const QImage noise = RandomPicture(width, height, 3);
    QImage picture(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb n = noise.pixel(x, y);
            picture.setPixel(x, y,
                qRgb((x * 255 / width + (qRed(n) & 15)) & 255, (y * 255 / height + (qGreen(n) & 15)) & 255,
                    ((x + y) & 255) ^ (qBlue(n) & 7)));
        }
    return picture;
}
