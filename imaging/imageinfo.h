#pragma once
// Header facts of a photo file, read from its header only (no decoding): BMP, PSD, TIFF, JPEG
// (JFIF, frame header, EXIF), HEIF and WebP (imaging/containerinfo.h). Every reader survives
// any input: reads are bounded by the file, IFD chains are walked at most once per offset, and a
// malformed header ends the reading with the facts found so far.
#include <QString>

#include <cstdint>

class QIODevice;

enum ImageKind : std::uint8_t {
    kKindNothing = 0, // nothing recognised
    kKindJpeg = 1, // JFIF header or frame header found
    kKindJpegExif = 2, // JPEG whose EXIF block was read
    kKindBmp = 3,
    kKindTiff = 4,
    kKindPsd = 5,
    kKindHeif = 6, // HEIF or AVIF
    kKindWebp = 7,
};

// A file time as local calendar fields (the layout of a Windows SYSTEMTIME).
struct FileTime {
    std::uint16_t year;
    std::uint16_t month;
    std::uint16_t dayOfWeek; // 0 = Sunday
    std::uint16_t day;
    std::uint16_t hour;
    std::uint16_t minute;
    std::uint16_t second;
    std::uint16_t millisecond;
};
static_assert(sizeof(FileTime) == 16);

struct ImageInfo {
    std::uint8_t kind; // ImageKind
    std::uint8_t irregular; // 1: irregular JFIF header (minor version above 2, or a density of 0)
    std::int32_t width; // pixels, of the photo as it is shown: upright (see orientation)
    std::int32_t height; // pixels, as width; a top-down BMP's height too is positive
    std::int32_t xDpi; // never 0 after ReadImageInfo
    std::int32_t yDpi;
    std::uint8_t bitsPerPixel; // 1, 8, 24 or 32 as derived per format; other values as found
    // JPEG: an EXIF block was read; TIFF: an EXIF pointer is present; WebP: its EXIF chunk was read
    std::uint8_t hasExif;
    // TIFF/EXIF orientation (1..8) of the pixels as the decoder delivers them, 0 when not given;
    // HEIF's is always 1, libheif turning them while decoding (imaging/containerinfo.h).
    std::uint8_t orientation;
    FileTime created; // the file's creation (birth) time, else its modification time
    std::int32_t fileSize; // low 32 bits of the file's size
};

// TIFF/EXIF orientation of stored pixels: 1 upright, 2 mirrored left to right, 3 upside down, 4
// mirrored top to bottom, 5 mirrored along the main diagonal, 6 its top at the left (shown
// after a clockwise quarter turn), 7 mirrored along the other diagonal, 8 its top at the right
// (shown after a counter-clockwise quarter turn). 5 to 8 exchange width and height.
constexpr bool OrientationTurnsQuarter(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

// Zeroes info, reads the format-specific header chosen by the extension (.BMP, .PSD, .TIF,
// .TIFF, .JPG, .JPE, .JPEG, .HEIC, .HEIF, .AVIF, .WEBP; case-insensitive), then the file's time
// and size; a resolution of 0 becomes 1. An orientation of 5 to 8 (a quarter turn) exchanges
// width and height, so that they are the upright photo's. Returns whether the format-specific
// header was read.
bool ReadImageInfo(const QString& path, ImageInfo& info);

// The per-format readers, on an open device positioned anywhere. Each sets kind and the facts
// of its format and returns whether the header was read.
bool ReadBmpHeaderInfo(QIODevice& file, ImageInfo& info);
bool ReadPsdHeaderInfo(QIODevice& file, ImageInfo& info);
