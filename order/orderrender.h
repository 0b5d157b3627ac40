#pragma once
// Rendering an order's photos on worker threads: each photo is rendered for print (RenderOutput)
// and saved as a JPEG file of quality 100 stamped with the output resolution; the caller
// receives the results strictly in project order on its own thread, waiting in a local event
// loop meanwhile. At most kRendersInMemory rendered photos exist at a time, counting those
// waiting for the caller and the one it is handling.
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class TVDImage;

struct TRenderedPhoto {
    int index = 0; // in the project
    QString path;
    QImage image; // the rendered print, 32-bit
    bool saved = false;
    int64_t fileSize = -1;
};

inline constexpr int kRendersInMemory = 2;

// Renders photo i into paths[i] for every i, calling take for each in order; take returns false
// to stop (the photos not yet taken are not kept: their files are deleted). The project must
// not change meanwhile. Returns the number of photos taken.
int RenderPhotosInOrder(const TVDImage& project, const QStringList& paths, int outputDpi,
    const std::function<bool(const TRenderedPhoto&)>& take);
