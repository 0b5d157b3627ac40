// Adding one photo (TVDImage::AddPhoto: decode, working copy, preview, thumbnail) beside
// libjpeg-turbo's djpeg decoding the same file to /dev/null and beside the whole-picture steps
// (LoadPhotoBitmap, the 32-bit picture, the upright turn, the working copy written whole, the
// preview resampled from it), alternating, RUNS times each. Prints every wall time, the CPU time
// (user + system, every thread) of the add and of djpeg, the medians, both ratios add / djpeg
// (on a shared machine the CPU ratio is the steadier one) and the memory one add adds to the
// process at its peak. Then, when BATCH is above 0, adds BATCH copies of the photo at once as the
// main window does (TPhotoBatch, a worker per core, results appended in order) and prints that
// time beside BATCH x the median single add / the number of cores: first warm (one file, read
// from the page cache), then cold (BATCH distinct copies, dropped from the page cache before the
// batch starts), and beside the time of writing the batch's working and preview copies alone
// (the page cache's write-back is the floor of a batch that writes gigabytes). The single adds
// are warm: one file, read before. bench/add_vs_djpeg.sh runs it.
//   add_bench [RUNS [PHOTO [BATCH]]]   (default: 7 runs of the 6000 x 4000 camera photo, batch 0)
#include "bench/batchtime.h"
#include "bench/cameraphoto.h"
#include "bench/offscreen.h"
#include "imaging/decode.h"
#include "imaging/geometry.h"
#include "imaging/picture.h"
#include "imaging/workingcopy.h"
#include "tests/project/projectfixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The whole-picture steps of adding, into folder; negative on failure.
double WholePictureMs(const QString& photo, const QString& folder, int previewSize)
{
    QElapsedTimer timer;
    timer.start();
    QImage decoded;
    if (!LoadPhotoBitmap(photo, decoded))
        return -1;
    QImage full = As32BitPicture(decoded);
    decoded = QImage();
    TRect fitted = PictureBounds(full);
    FitRect({ 0, 0, previewSize, previewSize }, fitted, false);
    QImage preview;
    if (!UprightByOrientation(full, 1) || !SaveWorkingBitmap(full, folder + QStringLiteral("/whole.sbm"))
        || !ResampleToSize(full, fitted.Width(), fitted.Height(), &preview)
        || !SaveWorkingBitmap(preview, folder + QStringLiteral("/prev_whole.sbm")))
        return -1;
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QFile::remove(folder + QStringLiteral("/whole.sbm"));
    QFile::remove(folder + QStringLiteral("/prev_whole.sbm"));
    return ms;
}

// count copies of photo in folder, written to disk and dropped from the page cache so that the
// batch reads each one from the disk; empty on failure.
QStringList ColdCopies(const QString& photo, const QString& folder, int count)
{
    QStringList copies;
    for (int i = 0; i < count; ++i) {
        const QString copy = folder + QStringLiteral("/cold-%1.jpg").arg(i);
        QFile::remove(copy);
        if (!QFile::copy(photo, copy) || !DropFromPageCache(copy))
            return {};
        copies << copy;
    }
    return copies;
}

// The time of writing count files of bytes each in 1 MiB pieces, as the working copies reach
// the page cache, with nothing else to do: the floor a batch's writes set. Negative on failure.
double WritesMs(const QString& folder, int count, qint64 bytes)
{
    const QByteArray piece(1 << 20, 'x');
    QElapsedTimer timer;
    timer.start();
    bool written = true;
    for (int i = 0; i < count && written; ++i) {
        QFile file(folder + QStringLiteral("/writes-%1.sbm").arg(i));
        written = file.open(QIODevice::WriteOnly);
        for (qint64 left = bytes; written && left > 0; left -= piece.size())
            written = file.write(piece.constData(), std::min<qint64>(left, piece.size())) > 0;
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    for (int i = 0; i < count; ++i)
        QFile::remove(folder + QStringLiteral("/writes-%1.sbm").arg(i));
    return written ? ms : -1;
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = args.size() > 1 ? std::max(args[1].toInt(), 1) : 7;
    const QString photo = args.size() > 2 && !args[2].isEmpty() ? args[2] : CameraPhoto();
    const int batchSize = args.size() > 3 ? std::max(args[3].toInt(), 0) : 0;
    TProjectFixture bench;
    std::printf("photo: %s, %lld bytes (single adds warm: one file, read before)\n", qPrintable(photo),
        static_cast<long long>(QFileInfo(photo).size()));
    std::vector<double> adds, djpegs, wholes, added, addCpus, djpegCpus;
    qint64 copyBytes = 0; // the working copy and the preview copy of one add
    std::printf("%-4s %10s %10s %14s %12s %12s %10s\n", "run", "add ms", "djpeg ms", "whole-pic ms", "add CPU ms",
        "djpeg CPU ms", "added MB");
    for (int run = 0; run < runs; ++run) {
        double djpegCpu = 0;
        const double djpeg = ToolMs({ "djpeg", "-outfile", "/dev/null", QFile::encodeName(photo) }, djpegCpu);
        const double cpuBefore = ProcessCpuMs();
        const double before = CurrentMemoryMb();
        ResetPeakMemory();
        QElapsedTimer timer;
        timer.start();
        if (!bench.project->AddPhoto(photo)) {
            std::fprintf(stderr, "add_bench: AddPhoto failed\n");
            return 1;
        }
        const double add = double(timer.nsecsElapsed()) / 1e6;
        const double addCpu = ProcessCpuMs() - cpuBefore;
        const double peak = PeakMemoryMb() - before;
        copyBytes = QFileInfo(bench.project->Photo(0).workingPath).size()
            + QFileInfo(bench.project->Photo(0).previewPath).size();
        bench.project->Clear();
        const double whole = WholePictureMs(photo, bench.TempFolder(), bench.config.previewSize);
        if (djpeg < 0 || whole < 0) {
            std::fprintf(stderr, "add_bench: djpeg (libjpeg-turbo-progs) or the whole-picture steps failed\n");
            return 1;
        }
        std::printf(
            "%-4d %10.1f %10.1f %14.1f %12.1f %12.1f %10.1f\n", run + 1, add, djpeg, whole, addCpu, djpegCpu, peak);
        addCpus.push_back(addCpu);
        djpegCpus.push_back(djpegCpu);
        adds.push_back(add);
        djpegs.push_back(djpeg);
        wholes.push_back(whole);
        added.push_back(peak);
    }
    const double add = Median(adds), djpeg = Median(djpegs), whole = Median(wholes);
    std::printf("median: add %.1f ms, djpeg %.1f ms, whole-picture steps %.1f ms\n", add, djpeg, whole);
    std::printf("ratio add / djpeg: %.2f (target at most 1.5); whole-picture steps / djpeg: %.2f\n", add / djpeg,
        whole / djpeg);
    std::printf("CPU time: add %.1f ms, djpeg %.1f ms, ratio %.2f\n", Median(addCpus), Median(djpegCpus),
        Median(addCpus) / Median(djpegCpus));
    std::printf("memory one add adds at its peak: %.1f MB median, %.1f MB most (target at most 40 MB)\n", Median(added),
        *std::max_element(added.begin(), added.end()));
    if (batchSize == 0)
        return 0;
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const double ideal = batchSize * add / cores;
    // Each of the three starts with nothing dirty in the page cache, so none pays for the
    // write-back of the one before.
    sync();
    const double warm = BatchMs(bench, QStringList(batchSize, photo));
    sync();
    const double writes = WritesMs(bench.TempFolder(), batchSize, copyBytes);
    const QStringList copies = ColdCopies(photo, bench.TempFolder(), batchSize);
    sync();
    const double cold = copies.isEmpty() ? -1 : BatchMs(bench, copies);
    for (const QString& copy : copies)
        QFile::remove(copy);
    if (warm < 0 || cold < 0 || writes < 0) {
        std::fprintf(stderr, "add_bench: a photo of the batch or the plain writes failed\n");
        return 1;
    }
    std::printf("%d x one add / %d cores: %.0f ms\n", batchSize, cores, ideal);
    std::printf(
        "batch of %d, warm, one file: %.0f ms, ratio %.2f (target at most 1.2)\n", batchSize, warm, warm / ideal);
    std::printf("batch of %d, cold, distinct files: %.0f ms, ratio %.2f\n", batchSize, cold, cold / ideal);
    std::printf("the batch's %d x %.1f MB of working and preview copies written alone: %.0f ms; warm batch / "
                "writes %.2f\n",
        batchSize, double(copyBytes) / 1e6, writes, warm / writes);
    return 0;
}
