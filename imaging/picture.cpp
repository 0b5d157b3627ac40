#include "imaging/picture.h"

#include "imaging/parallelrows.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kHugePageThreshold = std::size_t(8) << 20;

void FreePictureMemory(void* memory)
{
    std::free(memory);
}

} // namespace

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
    return QImage(static_cast<uchar*>(memory), width, height, bytesPerLine, format, FreePictureMemory, memory);
}

QImage As32BitPicture(const QImage& picture)
{
    if (picture.format() == QImage::Format_ARGB32)
        return picture;
    if (picture.format() != QImage::Format_BGR888)
        return picture.convertToFormat(QImage::Format_ARGB32);
    // Every decoded photo takes this path: on all cores, into huge-page memory.
    QImage converted = NewPicture(picture.width(), picture.height());
    if (converted.isNull())
        return picture.convertToFormat(QImage::Format_ARGB32);
    const PixelRows<std::uint32_t> out = WritableRows(converted);
    ParallelRows(out.height, out.width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const uchar* in = picture.constScanLine(y);
            std::uint32_t* row = out[y];
            for (int x = 0; x < out.width; ++x, in += 3)
                row[x] = 0xFF000000u | std::uint32_t(in[2]) << 16 | std::uint32_t(in[1]) << 8 | in[0];
        }
    });
    return converted;
}

PixelRows<std::uint32_t> WritableRows(QImage& picture)
{
    auto* base = reinterpret_cast<std::uint32_t*>(picture.bits());
    return { base, picture.bytesPerLine() / 4, picture.width(), picture.height() };
}

PixelRows<const std::uint32_t> ReadableRows(const QImage& picture)
{
    const auto* base = reinterpret_cast<const std::uint32_t*>(picture.constBits());
    return { base, picture.bytesPerLine() / 4, picture.width(), picture.height() };
}
