// Imaging speed on a 6000 x 4000 photo-like picture (the test photo scaled up, with sensor-like
// noise): each colour operation and all together, quarter turn, crop, framing on print sheets,
// JPEG writing, working copies, the JPEG bridge and the ICC conversion to sRGB. Run with
// --benchmark_repetitions=5 --benchmark_report_aggregates_only=true for medians.
#include "bench/noisyphoto.h"
#include "imaging/colour.h"
#include "imaging/colourprofile.h"
#include "imaging/decode.h"
#include "imaging/geometry.h"
#include "imaging/jpegprofile.h"
#include "imaging/jpegsave.h"
#include "imaging/picture.h"
#include "imaging/workingcopy.h"
#include "jfxlib.h"
#include "tests/imaging/testprofiles.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>
#include <lcms2.h>

#include <cstring>

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

const QImage& Photo()
{
    static const QImage photo = NoisyTestPhoto(kWidth, kHeight);
    return photo;
}

QString ScratchPath(const char* name)
{
    return QDir::temp().filePath(QStringLiteral("vendaro-bench-") + QLatin1String(name));
}

// A photo-sized JPEG written once (quality 92, as a camera would).
const QString& PhotoJpeg()
{
    static const QString path = [] {
        const QString file = ScratchPath("photo.jpg");
        SaveJpeg(Photo(), file, 92);
        return file;
    }();
    return path;
}

void ReportPixels(benchmark::State& state, std::int64_t pixels)
{
    state.counters["MP/s"]
        = benchmark::Counter(double(pixels) * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// Runs the colour pass of `record` over a fresh copy of the photo per iteration.
void RunColour(benchmark::State& state, const Corrections& record)
{
    QImage work = NewPicture(kWidth, kHeight);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.bits(), Photo().constBits(), std::size_t(work.sizeInBytes()));
        state.ResumeTiming();
        ApplyCorrections(work, record, false);
        benchmark::DoNotOptimize(work.constBits());
    }
    ReportPixels(state, std::int64_t(kWidth) * kHeight);
}

Corrections Neutral()
{
    Corrections record;
    InitCorrections(record);
    return record;
}

Corrections AllNine()
{
    Corrections record = Neutral();
    record.sat = 25;
    record.inten = 10;
    record.contr = 15;
    record.balr = -10;
    record.balg = 5;
    record.balb = 20;
    record.hue1 = 12;
    record.hue2 = -8;
    record.hue3 = 4;
    return record;
}

void BM_Greyscale(benchmark::State& state)
{
    Corrections r = Neutral();
    r.blackWhite = 1;
    RunColour(state, r);
}
void BM_Sepia(benchmark::State& state)
{
    Corrections r = Neutral();
    r.sepia = 1;
    RunColour(state, r);
}
void BM_Brightness(benchmark::State& state)
{
    Corrections r = Neutral();
    r.inten = 10;
    RunColour(state, r);
}
void BM_Contrast(benchmark::State& state)
{
    Corrections r = Neutral();
    r.contr = -30;
    RunColour(state, r);
}
void BM_Balance(benchmark::State& state)
{
    Corrections r = Neutral();
    r.balr = 30;
    r.balb = -20;
    RunColour(state, r);
}
void BM_Saturation(benchmark::State& state)
{
    Corrections r = Neutral();
    r.sat = 40;
    RunColour(state, r);
}
void BM_Hsl(benchmark::State& state)
{
    Corrections r = Neutral();
    r.hue1 = 20;
    r.hue2 = 10;
    r.hue3 = -5;
    RunColour(state, r);
}
void BM_AllNineSettings(benchmark::State& state)
{
    RunColour(state, AllNine());
}
void BM_AllNineSettingsAndSepia(benchmark::State& state)
{
    Corrections r = AllNine();
    r.sepia = 1;
    RunColour(state, r);
}

BENCHMARK(BM_Greyscale)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sepia)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Brightness)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Contrast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Balance)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Saturation)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Hsl)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AllNineSettings)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AllNineSettingsAndSepia)->Unit(benchmark::kMillisecond)->UseRealTime();

// Geometry works on a picture of its own, as on a freshly loaded working copy.
QImage OwnCopy()
{
    QImage picture = NewPicture(kWidth, kHeight);
    std::memcpy(picture.bits(), Photo().constBits(), std::size_t(picture.sizeInBytes()));
    return picture;
}

void BM_RotateQuarter(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = OwnCopy();
        state.ResumeTiming();
        RotateQuarter(picture, int(state.range(0)));
        benchmark::DoNotOptimize(picture.constBits());
    }
    ReportPixels(state, std::int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_RotateQuarter)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CropByFractions(benchmark::State& state)
{
    const CropFractions crop = AutoCropFractions({ 0, 0, 1795, 1205 }, { 0, 0, kWidth, kHeight });
    for (auto _ : state) {
        QImage picture = Photo();
        CropByFractions(picture, crop);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_CropByFractions)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FitIntoFrame(benchmark::State& state)
{
    const TRect sheet { 0, 0, int(state.range(0)), int(state.range(1)) };
    for (auto _ : state) {
        QImage picture = Photo();
        FitIntoFrame(sheet, picture, 0xFFFFFFFFu, { -1, 0, 0, 0 });
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_FitIntoFrame)->Args({ 1795, 1205 })->Args({ 3543, 2362 })->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveJpegQuality100(benchmark::State& state)
{
    QImage sheet = Photo();
    FitIntoFrame({ 0, 0, 1795, 1205 }, sheet, 0xFFFFFFFFu, { -1, 0, 0, 0 });
    const QImage print = sheet.convertToFormat(QImage::Format_BGR888);
    const QString path = ScratchPath("print.jpg");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveJpeg(print, path, 100));
    QFile::remove(path);
}
BENCHMARK(BM_SaveJpegQuality100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveWorkingBitmap(benchmark::State& state)
{
    const QString path = ScratchPath("save.sbm");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveWorkingBitmap(Photo(), path));
    QFile::remove(path);
}
BENCHMARK(BM_SaveWorkingBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();

// Arg 0: into a picture of the right size (the usual reload); 1: into a fresh picture.
void BM_LoadWorkingBitmap(benchmark::State& state)
{
    const QString path = ScratchPath("load.sbm");
    SaveWorkingBitmap(Photo(), path);
    QImage target = NewPicture(kWidth, kHeight);
    for (auto _ : state) {
        if (state.range(0) == 1) {
            state.PauseTiming();
            target = QImage();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(LoadWorkingBitmap(target, path));
    }
    QFile::remove(path);
}
BENCHMARK(BM_LoadWorkingBitmap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BridgeDecode(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(PhotoJpeg());
    JfxProperties properties {};
    JfxGetProperties(path.constData(), &properties);
    std::vector<unsigned char> buffer(std::size_t(properties.bufferSize));
    for (auto _ : state)
        benchmark::DoNotOptimize(JfxReadImageChecked(path.constData(), buffer.data(), &properties));
    ReportPixels(state, std::int64_t(properties.width) * properties.height);
}
BENCHMARK(BM_BridgeDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadPhotoBitmapJpeg(benchmark::State& state)
{
    for (auto _ : state) {
        QImage decoded;
        benchmark::DoNotOptimize(LoadPhotoBitmap(PhotoJpeg(), decoded));
    }
}
BENCHMARK(BM_LoadPhotoBitmapJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

// The photo JPEG with the Adobe RGB profile in one APP2 chunk right after its start of image.
const QString& AdobePhotoJpeg()
{
    static const QString path = [] {
        const QString file = ScratchPath("photo-adobe.jpg");
        QFile plain(PhotoJpeg());
        plain.open(QIODevice::ReadOnly);
        QByteArray bytes = plain.readAll();
        const QByteArray payload = QByteArray("ICC_PROFILE", 12) + char(1) + char(1) + AdobeRgbProfile();
        const int length = int(payload.size()) + 2;
        bytes.insert(2, QByteArray("\xFF\xE2", 2) + char(length >> 8) + char(length & 255) + payload);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        return file;
    }();
    return path;
}

// The conversion alone, on a fresh copy of the 24-bit photo per iteration.
void BM_IccToSrgb(benchmark::State& state)
{
    const QImage photo = Photo().convertToFormat(QImage::Format_BGR888);
    const QByteArray profile = AdobeRgbProfile();
    QImage work = photo.copy();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.bits(), photo.constBits(), std::size_t(work.sizeInBytes()));
        state.ResumeTiming();
        benchmark::DoNotOptimize(ConvertProfileToSrgb(work, profile));
    }
    ReportPixels(state, std::int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_IccToSrgb)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a photo without a profile pays: the walk of its markers up to the start of scan.
void BM_JpegProfileLookup(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(PhotoJpeg());
        file.open(QIODevice::ReadOnly);
        QByteArray profile;
        benchmark::DoNotOptimize(ReadJpegProfile(file, profile));
    }
}
BENCHMARK(BM_JpegProfileLookup)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The whole decode of the same photo with the profile; beside BM_LoadPhotoBitmapJpeg.
void BM_LoadPhotoBitmapJpegAdobeRgb(benchmark::State& state)
{
    for (auto _ : state) {
        QImage decoded;
        benchmark::DoNotOptimize(LoadPhotoBitmap(AdobePhotoJpeg(), decoded));
    }
}
BENCHMARK(BM_LoadPhotoBitmapJpegAdobeRgb)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
