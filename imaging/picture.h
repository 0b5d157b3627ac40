#pragma once
// The program's pictures: 32-bit pictures are QImage::Format_ARGB32 (one uint32 per pixel,
// A << 24 | R << 16 | G << 8 | B, rows from the top, no padding); decoded photos are 24-bit
// QImage::Format_BGR888 (rows padded to 4 bytes, as a device-independent bitmap).
#include <QImage>

#include <cstdint>

// Largest picture the program accepts anywhere (decoding, working copies, geometry): a side of
// 65535 pixels (the JPEG limit) and 2^28 pixels in all (1 GiB as a 32-bit picture).
inline constexpr int kMaxPictureSide = 65535;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 28;

bool PictureSizeAllowed(std::int64_t width, std::int64_t height);

// A new picture with undefined pixels, or a null QImage when the size is not allowed or memory
// is short. Large pictures get memory advised for huge pages: a fresh 96 MB picture then costs
// a few milliseconds of page faults instead of tens.
QImage NewPicture(int width, int height, QImage::Format format = QImage::Format_ARGB32);

// The picture as Format_ARGB32 with opaque alpha where the source has none (converted when it
// has another format; shared otherwise). 24-bit BGR888 pictures convert on all cores.
QImage As32BitPicture(const QImage& picture);

// The rows of a 32-bit picture as plain pointers, to be shared by the threads of one operation
// (QImage::scanLine may detach and is not for concurrent use).
template <typename Pixel> struct PixelRows {
    Pixel* base = nullptr;
    qsizetype stride = 0; // in pixels
    int width = 0;
    int height = 0;

    Pixel* operator[](int y) const { return base + qsizetype(y) * stride; }
};

// picture must be Format_ARGB32; WritableRows detaches it first.
PixelRows<std::uint32_t> WritableRows(QImage& picture);
PixelRows<const std::uint32_t> ReadableRows(const QImage& picture);
