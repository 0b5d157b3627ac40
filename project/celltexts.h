#pragma once
// The text lines under a thumbnail, in their fixed order, each only when the user's
// configuration turns it on: resolution, file size, file name, price.
#include <QString>
#include <QStringList>

#include <cstdint>

class TConfig;
class TFormats;
class TVDImage;

// What the lines tell of one photo.
struct TCellFacts {
    int width = 0;
    int height = 0;
    std::int64_t fileSize = 0;
    QString fileName;
    int quantity = 0;
    int unitPrice = 0; // hundredths
};

// Which lines are shown.
struct TCellLines {
    bool resolution = false;
    bool size = false;
    bool name = false;
    bool price = false;
};

QStringList CellTexts(const TCellFacts& facts, const TCellLines& lines);
QStringList CellTexts(const TVDImage& project, int index, const TConfig& config, const TFormats& formats);
