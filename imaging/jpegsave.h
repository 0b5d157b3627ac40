#pragma once
// Writing finished pictures as baseline JFIF files with libjpeg.
#include <QImage>
#include <QString>

// Encodes the picture (24-bit BGR888/RGB888 as they are; 32-bit without its alpha; any other
// format converted) in memory as a baseline JFIF file with quality 1..100 and 4:2:0
// subsampling, then deletes an existing file at path (DeleteFileForced) and writes the new one.
// False when encoding fails, the old file cannot be deleted or the new one written; a half
// written file is removed.
bool SaveJpeg(const QImage& bitmap, const QString& path, int quality);
