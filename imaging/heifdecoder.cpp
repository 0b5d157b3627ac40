#include "imaging/heifdecoder.h"

#include "imaging/generaldecoder.h"
#include "imaging/parallelrows.h"
#include "imaging/picture.h"

#include <QFile>

#include <libheif/heif.h>

#include <array>
#include <cstdint>
#include <memory>

namespace {

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};

// ImageMagick 6 (16-bit quantum, no HDRI) from Y, Cb, Cr samples to one 8-bit channel: the
// samples scaled to 16 bits and to 0..1, the YPbPr-to-RGB matrix, the clamp and round to 16 bits,
// the scaling to 8 bits.
constexpr double kQuantumRange = 65535.0;
constexpr double kQuantumScale = 1.0 / 65535.0;

std::uint8_t ToChar(double value)
{
    unsigned quantum = 0;
    if (value >= kQuantumRange)
        quantum = 65535;
    else if (value > 0.0)
        quantum = unsigned(value + 0.5);
    return std::uint8_t(((quantum + 128U) - ((quantum + 128U) >> 8)) >> 8);
}

// The three channels of one Y, Cb, Cr sample triple, as B, G, R.
void YccToBgr(int y, int cb, int cr, std::uint8_t* out)
{
    const double luma = kQuantumScale * double(257 * y);
    const double pb = kQuantumScale * double(257 * cb);
    const double pr = kQuantumScale * double(257 * cr);
    const double red = kQuantumRange
        * (0.99999999999914679361 * luma - 1.2188941887145875e-06 * (pb - 0.5) + 1.4019995886561440468 * (pr - 0.5));
    const double green = kQuantumRange
        * (0.99999975910502514331 * luma - 0.34413567816504303521 * (pb - 0.5) - 0.71413649331646789076 * (pr - 0.5));
    const double blue = kQuantumRange
        * (1.00000124040004623180 * luma + 1.77200006607230409200 * (pb - 0.5) + 2.1453384174593273e-06 * (pr - 0.5));
    out[0] = ToChar(blue);
    out[1] = ToChar(green);
    out[2] = ToChar(red);
}

} // namespace

bool DecodeHeifDirectly(const QString& path, QImage& target)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context
        || heif_context_read_from_memory_without_copy(
               context.get(), bytes.constData(), std::size_t(bytes.size()), nullptr)
                .code
            != heif_error_Ok)
        return false;
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok)
        return false;
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(primary);
    const int sideWidth = heif_image_handle_get_width(primary), sideHeight = heif_image_handle_get_height(primary);
    if (heif_image_handle_has_alpha_channel(primary) != 0 || heif_image_handle_get_luma_bits_per_pixel(primary) != 8
        || !PictureSizeAllowed(sideWidth, sideHeight) || sideWidth > kGeneralDecoderMaxSide
        || sideHeight > kGeneralDecoderMaxSide || std::int64_t(sideWidth) * sideHeight > kGeneralDecoderMaxPixels)
        return false;
    heif_image* decodedImage = nullptr;
    if (heif_decode_image(primary, &decodedImage, heif_colorspace_YCbCr, heif_chroma_420, nullptr).code
        != heif_error_Ok)
        return false;
    const std::unique_ptr<heif_image, ImageRelease> image(decodedImage);
    const int width = heif_image_get_width(decodedImage, heif_channel_Y);
    const int height = heif_image_get_height(decodedImage, heif_channel_Y);
    int strideY = 0, strideCb = 0, strideCr = 0;
    const std::uint8_t* planeY = heif_image_get_plane_readonly(decodedImage, heif_channel_Y, &strideY);
    const std::uint8_t* planeCb = heif_image_get_plane_readonly(decodedImage, heif_channel_Cb, &strideCb);
    const std::uint8_t* planeCr = heif_image_get_plane_readonly(decodedImage, heif_channel_Cr, &strideCr);
    if (!planeY || !planeCb || !planeCr || heif_image_get_bits_per_pixel_range(decodedImage, heif_channel_Y) != 8
        || heif_image_get_width(decodedImage, heif_channel_Cb) < (width + 1) / 2
        || heif_image_get_height(decodedImage, heif_channel_Cb) < (height + 1) / 2
        || heif_image_get_width(decodedImage, heif_channel_Cr) < (width + 1) / 2
        || heif_image_get_height(decodedImage, heif_channel_Cr) < (height + 1) / 2)
        return false;
    QImage decoded = NewPicture(width, height, QImage::Format_BGR888);
    if (decoded.isNull())
        return false;
    uchar* const bits = decoded.bits();
    const qsizetype stride = decoded.bytesPerLine();
    ParallelRows(height, width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const std::uint8_t* luma = planeY + std::ptrdiff_t(y) * strideY;
            const std::uint8_t* cb = planeCb + std::ptrdiff_t(y / 2) * strideCb;
            const std::uint8_t* cr = planeCr + std::ptrdiff_t(y / 2) * strideCr;
            uchar* out = bits + stride * y;
            for (int x = 0; x < width; ++x, out += 3)
                YccToBgr(luma[x], cb[x / 2], cr[x / 2], out);
        }
    });
    target = std::move(decoded);
    return true;
}
