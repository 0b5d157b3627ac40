#pragma once
// The photos of a large generated project: distinct 2-megapixel camera-like JPEGs, each with
// its own noise and colour fields, so that a project of a thousand of them fits the disk and
// every file is read on its own (no page cache shared between photos).
#include "bench/cameraphoto.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

// The generator's version: a change to how the photos are made (CameraLikePicture included)
// gives their folder a new name, so no figure comes from photos the code no longer makes.
inline constexpr int kProjectPhotoVersion = 1;
inline constexpr int kProjectPhotoWidth = 1728; // 3:2, 1.99 megapixels
inline constexpr int kProjectPhotoHeight = 1152;

// The first count photos (photo-00000.jpg ...), quality 92, about 0.5 MB each; those missing
// are made on every core and kept for later runs. Empty when one cannot be written.
inline QStringList ProjectPhotos(int count)
{
    const QString folder = BenchPhotoFolder()
        + QStringLiteral("/project-%1x%2-v%3")
              .arg(kProjectPhotoWidth)
              .arg(kProjectPhotoHeight)
              .arg(kProjectPhotoVersion);
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << folder + QStringLiteral("/photo-%1.jpg").arg(i, 5, 10, QChar(u'0'));
    std::atomic<int> next = 0;
    std::atomic<bool> failed = false;
    const auto make = [&] {
        for (int i = next++; i < count && !failed; i = next++) {
            const QString& path = paths[i];
            if (!QFile::exists(path)
                && !SaveBenchPhoto(CameraLikePicture(kProjectPhotoWidth, kProjectPhotoHeight, unsigned(1000 + i),
                                       0.37f * float(i % 17)),
                    path, 92))
                failed = true;
        }
    };
    {
        std::vector<std::jthread> workers;
        for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
            workers.emplace_back(make);
    }
    return failed ? QStringList() : paths;
}
