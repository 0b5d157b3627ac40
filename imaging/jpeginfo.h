#pragma once
// JPEG header facts: markers up to the start of scan, the JFIF header, the frame header and the
// EXIF block; and the rewriting of the JFIF density of a finished file.
#include "imaging/imageinfo.h"

#include <QString>

#include <cstdint>

class QIODevice;

// The file starts with FF D8 (start of image); reads those two bytes.
bool OpenJpeg(QIODevice& file);
// Back to just after the start of image.
bool RewindJpeg(QIODevice& file);
// Reads FF, the marker code and, unless the code is D9 (end of image, length 0), the 16-bit
// big-endian segment length.
bool ReadMarker(QIODevice& file, std::uint8_t& code, std::uint16_t& length);
// Skips the rest of a segment of the given length; false for a length below 2 or a segment
// running past the end of the file.
bool SkipSegment(QIODevice& file, std::uint16_t length);
// Reads marker after marker from the current position until `code` (left to be read again) or
// the start of scan (DA), where it fails; markers after the start of scan are never looked at.
// code must not be D9. Always ends: every step moves forward.
bool FindMarker(QIODevice& file, std::uint8_t code);

// JFIF resolution, frame size and components, then the EXIF block, whose values are read last
// and win.
bool ReadJpegInfo(QIODevice& file, ImageInfo& info);
// The EXIF block of the first APP1 segment; sets kind 2 on success.
bool ReadExifInfo(QIODevice& file, ImageInfo& info);

// Rewrites, in place, the JFIF header of an existing file to `dpi` dots per inch on both axes.
// False, leaving the file unchanged, when it has no JFIF header of version 1.0 to 1.2.
bool StampJpegDensity(const QString& path, int dpi);
