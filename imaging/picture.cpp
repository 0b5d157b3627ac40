#include "imaging/picture.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kHugePageThreshold = std::size_t(8) << 20;

void FreePictureMemory(void* memory)
{
    std::free(memory);
}

}  // namespace

bool PictureSizeAllowed(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide
        && width * height <= kMaxPicturePixels;
}

QImage NewPicture(int width, int height, QImage::Format format)
{
    if (!PictureSizeAllowed(width, height))
        return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const qsizetype bytesPerLine = ((qsizetype(width) * depth + 31) / 32) * 4;
    const std::size_t size = std::size_t(bytesPerLine) * std::size_t(height);
    if (size < kHugePageThreshold)
        return QImage(width, height, format);

    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = std::aligned_alloc(kHugePage, rounded);
    if (!memory)
        return {};
    madvise(memory, rounded, MADV_HUGEPAGE);
    return QImage(static_cast<uchar*>(memory), width, height, bytesPerLine, format, FreePictureMemory,
                  memory);
}

QImage As32BitPicture(const QImage& picture)
{
    return picture.format() == QImage::Format_ARGB32 ? picture
                                                     : picture.convertToFormat(QImage::Format_ARGB32);
}

PixelRows<std::uint32_t> WritableRows(QImage& picture)
{
    auto* base = reinterpret_cast<std::uint32_t*>(picture.bits());
    return {base, picture.bytesPerLine() / 4, picture.width(), picture.height()};
}

PixelRows<const std::uint32_t> ReadableRows(const QImage& picture)
{
    const auto* base = reinterpret_cast<const std::uint32_t*>(picture.constBits());
    return {base, picture.bytesPerLine() / 4, picture.width(), picture.height()};
}
