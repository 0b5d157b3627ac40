#pragma once
// The benchmarks' photo: the test photo scaled to any size, with +-8 levels of per-pixel noise
// so that JPEG and colour statistics resemble a camera picture. The same every run.
#include "imaging/picture.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <random>

inline QImage NoisyTestPhoto(int width, int height)
{
    const QImage small(QStringLiteral(VENDARO_SOURCE_DIR "/tests/data/photo_board.jpg"));
    QImage photo = As32BitPicture(small.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    std::mt19937 random(1);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(random() % 17) - 8;
            const auto channel = [&](int shift) {
                return std::uint32_t(std::clamp(int(row[x] >> shift & 255) + noise, 0, 255)) << shift;
            };
            row[x] = 0xFF000000u | channel(16) | channel(8) | channel(0);
        }
    }
    return photo;
}
