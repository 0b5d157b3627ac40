// Phone photos: adding a 4032 x 3024 HEIC and AVIF (TVDImage::AddPhoto, today through
// ImageMagick's coders) beside libheif's own decode of the same file to interleaved RGB
// (heif_decode_image), alternating, RUNS times each. Prints every time, the medians and the
// ratios add / decode: the room a decoder that calls libheif directly has.
//   heif_bench [RUNS]   (default 3; the photos are made once in $TMPDIR/vendaro-bench)
#include "bench/cameraphoto.h"
#include "tests/project/projectfixture.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <libheif/heif.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The camera photo scaled to a phone's 4032 x 3024, encoded by libheif (quality 90); made once.
QString PhonePhoto(heif_compression_format format, const char* extension)
{
    const QString path = QDir::tempPath() + QStringLiteral("/vendaro-bench/phone-4032x3024.") + extension;
    if (QFile::exists(path))
        return path;
    const QImage picture
        = QImage(CameraPhoto()).scaled(4032, 3024, Qt::IgnoreAspectRatio).convertToFormat(QImage::Format_RGB888);
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    bool written = heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok;
    if (written) {
        heif_encoder_set_lossy_quality(encoder, 90);
        heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8);
        int stride = 0;
        std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < picture.height(); ++y)
            std::copy_n(picture.constScanLine(y), picture.width() * 3, plane + std::ptrdiff_t(y) * stride);
        written = heif_context_encode_image(context, image, encoder, nullptr, nullptr).code == heif_error_Ok
            && heif_context_write_to_file(context, QFile::encodeName(path).constData()).code == heif_error_Ok;
    }
    if (image)
        heif_image_release(image);
    if (encoder)
        heif_encoder_release(encoder);
    heif_context_free(context);
    return written ? path : QString();
}

// libheif's decode of the primary image to interleaved RGB, the file read included; negative on
// failure.
double HeifDecodeMs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    const bool decoded
        = heif_context_read_from_file(context, QFile::encodeName(path).constData(), nullptr).code == heif_error_Ok
        && heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok
        && heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr).code
            == heif_error_Ok;
    if (image)
        heif_image_release(image);
    if (handle)
        heif_image_handle_release(handle);
    heif_context_free(context);
    return decoded ? double(timer.nsecsElapsed()) / 1e6 : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(QString::fromLocal8Bit(argv[1]).toInt(), 1) : 3;
    const struct {
        const char* name;
        heif_compression_format format;
        const char* extension;
    } formats[] = { { "HEIC", heif_compression_HEVC, "heic" }, { "AVIF", heif_compression_AV1, "avif" } };
    TProjectFixture bench;
    for (const auto& format : formats) {
        const QString photo = PhonePhoto(format.format, format.extension);
        if (photo.isEmpty()) {
            std::printf("%s: libheif has no encoder for it here\n", format.name);
            continue;
        }
        std::vector<double> adds, decodes;
        for (int run = 0; run < runs; ++run) {
            const double decode = HeifDecodeMs(photo);
            QElapsedTimer timer;
            timer.start();
            if (decode < 0 || !bench.project->AddPhoto(photo)) {
                std::fprintf(stderr, "heif_bench: %s failed\n", format.name);
                return 1;
            }
            const double add = double(timer.nsecsElapsed()) / 1e6;
            bench.project->Clear();
            std::printf("%s run %d: add %.0f ms, heif_decode_image %.0f ms\n", format.name, run + 1, add, decode);
            adds.push_back(add);
            decodes.push_back(decode);
        }
        const double add = Median(adds), decode = Median(decodes);
        std::printf(
            "%s median: add %.0f ms, heif_decode_image %.0f ms, ratio %.2f\n", format.name, add, decode, add / decode);
    }
    return 0;
}
