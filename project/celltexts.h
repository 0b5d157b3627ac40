#pragma once
// The text lines under a thumbnail, in their fixed order, each only when the user's
// configuration turns it on: resolution, file size, file name, price.
#include <QStringList>

class TConfig;
class TFormats;
class TVDImage;

QStringList CellTexts(const TVDImage& project, int index, const TConfig& config, const TFormats& formats);
