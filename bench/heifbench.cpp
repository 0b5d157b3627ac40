// Phone photos: adding a 4032 x 3024 HEIC, AVIF and WebP (TVDImage::AddPhoto: the program's
// own decoder, working copy, preview, thumbnail) beside the library's own decode of the same
// file to interleaved RGB (heif_decode_image, WebPDecodeRGB) and beside ImageMagick's coder
// decoding it (DecodeWithGeneralDecoder, the decode step of before), alternating, RUNS times
// each, and the library's command-line decoder on it (heif-convert to a raw .y4m, dwebp to PPM
// on /dev/null; process start included). Prints every time, the medians and the ratios
// add / library decode. Then, when BATCH is above 0, adds BATCH copies of the HEIC and of the
// AVIF at once as the main window does (TPhotoBatch, one file, warm) with a worker per core
// and with one worker, in the order all, one, one, all, and prints the means and their ratio:
// the batch on every core must not be slower than one worker at a time.
//   heif_bench [RUNS [BATCH]]   (default 3 runs, batch 0; the photos are made once, named by
//                                their version, in $TMPDIR/vendaro-bench)
#include "bench/batchtime.h"
#include "bench/cameraphoto.h"
#include "bench/offscreen.h"
#include "imaging/generaldecoder.h"
#include "tests/project/projectfixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <libheif/heif.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

QImage PhonePicture()
{
    return QImage(CameraPhoto()).scaled(4032, 3024, Qt::IgnoreAspectRatio).convertToFormat(QImage::Format_RGB888);
}

// The phone photos' version: a change to how they are encoded gives them a new name, and so
// does a new camera photo, which they are made from.
constexpr int kPhonePhotoVersion = 1;

QString PhonePath(const char* extension)
{
    return QDir::tempPath()
        + QStringLiteral("/vendaro-bench/phone-4032x3024-v%1.%2.").arg(kCameraPhotoVersion).arg(kPhonePhotoVersion)
        + extension;
}

// The camera photo scaled to a phone's 4032 x 3024, encoded by libwebp (quality 90); made once.
QString WebpPhoto()
{
    const QString path = PhonePath("webp");
    if (QFile::exists(path))
        return path;
    const QImage picture = PhonePicture();
    uint8_t* encoded = nullptr;
    const std::size_t size = WebPEncodeRGB(
        picture.constBits(), picture.width(), picture.height(), int(picture.bytesPerLine()), 90, &encoded);
    QFile file(path);
    const bool written = size > 0 && file.open(QIODevice::WriteOnly)
        && file.write(reinterpret_cast<const char*>(encoded), qint64(size)) == qint64(size);
    WebPFree(encoded);
    return written ? path : QString();
}

// libwebp's decode to interleaved RGB, the file read included; negative on failure.
double WebpDecodeMs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    int width = 0, height = 0;
    uint8_t* rgb = WebPDecodeRGB(
        reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size()), &width, &height);
    WebPFree(rgb);
    return rgb ? double(timer.nsecsElapsed()) / 1e6 : -1;
}

// The camera photo scaled to a phone's 4032 x 3024, encoded by libheif (quality 90); made once.
QString HeifPhoto(heif_compression_format format, const char* extension)
{
    const QString path = PhonePath(extension);
    if (QFile::exists(path))
        return path;
    const QImage picture = PhonePicture();
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

// The batch of count copies of photo on a worker per core beside one worker; false when a
// photo fails.
bool CompareWorkers(TProjectFixture& bench, const char* name, const QString& photo, int count)
{
    const QStringList photos(count, photo);
    double wall[2] = {}, cpu[2] = {}; // [0]: a worker per core, [1]: one worker
    for (const int threads : { 0, 1, 1, 0 }) {
        const double cpuBefore = ProcessCpuMs();
        const double ms = BatchMs(bench, photos, threads);
        const double cpuMs = ProcessCpuMs() - cpuBefore;
        if (ms < 0) {
            std::fprintf(stderr, "heif_bench: a %s of the batch failed\n", name);
            return false;
        }
        std::printf("%s batch of %d, %s: %.0f ms, CPU %.0f ms, load average %.1f\n", name, count,
            threads == 0 ? "a worker per core" : "one worker", ms, cpuMs, LoadAverage());
        wall[threads] += ms / 2;
        cpu[threads] += cpuMs / 2;
    }
    const int workers = int(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned(TPhotoBatch::kMaxThreads)));
    std::printf("%s batch of %d, means: %d workers %.0f ms (CPU %.0f ms), one worker %.0f ms (CPU %.0f ms); ratio "
                "%.2f (target at most 1)\n",
        name, count, workers, wall[0], cpu[0], wall[1], cpu[1], wall[0] / wall[1]);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    TProjectFixture bench;
    const int runs = argc > 1 ? std::max(QString::fromLocal8Bit(argv[1]).toInt(), 1) : 3;
    const int batch = argc > 2 ? std::max(QString::fromLocal8Bit(argv[2]).toInt(), 0) : 0;
    const struct {
        const char* name;
        QString photo;
        double (*decodeMs)(const QString&);
        std::vector<QByteArray> tool; // the file's path is put in for "FILE"
    } formats[]
        = { { "HEIC", HeifPhoto(heif_compression_HEVC, "heic"), HeifDecodeMs,
                { "heif-convert", "FILE", QFile::encodeName(bench.TempFolder() + QStringLiteral("/out.y4m")) } },
              { "AVIF", HeifPhoto(heif_compression_AV1, "avif"), HeifDecodeMs,
                  { "heif-convert", "FILE", QFile::encodeName(bench.TempFolder() + QStringLiteral("/out.y4m")) } },
              { "WebP", WebpPhoto(), WebpDecodeMs, { "dwebp", "FILE", "-ppm", "-o", "/dev/null" } } };
    for (const auto& format : formats) {
        const QString& photo = format.photo;
        if (photo.isEmpty()) {
            std::printf("%s: no encoder for it here\n", format.name);
            continue;
        }
        std::printf("%s photo: %s, %lld bytes\n", format.name, qPrintable(QFileInfo(photo).fileName()),
            QFileInfo(photo).size());
        std::vector<double> adds, decodes, magicks, tools;
        std::vector<QByteArray> tool = format.tool;
        std::replace(tool.begin(), tool.end(), QByteArray("FILE"), QFile::encodeName(photo));
        for (int run = 0; run < runs; ++run) {
            const double decode = format.decodeMs(photo);
            double toolCpu = 0;
            const double toolMs = ToolMs(tool, toolCpu);
            QElapsedTimer magickTimer;
            magickTimer.start();
            QImage decoded;
            const bool magickRead = DecodeWithGeneralDecoder(photo, decoded);
            const double magick = double(magickTimer.nsecsElapsed()) / 1e6;
            decoded = QImage();
            QElapsedTimer timer;
            timer.start();
            if (decode < 0 || !magickRead || !bench.project->AddPhoto(photo)) {
                std::fprintf(stderr, "heif_bench: %s failed\n", format.name);
                return 1;
            }
            const double add = double(timer.nsecsElapsed()) / 1e6;
            bench.project->Clear();
            std::printf("%s run %d: add %.0f ms, library decode %.0f ms, %s %.0f ms, ImageMagick decode %.0f ms\n",
                format.name, run + 1, add, decode, tool[0].constData(), toolMs, magick);
            tools.push_back(toolMs);
            adds.push_back(add);
            decodes.push_back(decode);
            magicks.push_back(magick);
        }
        const double add = Median(adds), decode = Median(decodes), magick = Median(magicks), toolMs = Median(tools);
        std::printf("%s median: add %.0f ms, library decode %.0f ms, %s %.0f ms, ImageMagick decode %.0f ms; "
                    "add / decode %.2f, add / %s %.2f, ImageMagick decode / decode %.2f\n",
            format.name, add, decode, tool[0].constData(), toolMs, magick, add / decode, tool[0].constData(),
            add / toolMs, magick / decode);
        if (batch > 0 && format.decodeMs == HeifDecodeMs && !CompareWorkers(bench, format.name, photo, batch))
            return 1;
    }
    return 0;
}
