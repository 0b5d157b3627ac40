// A project of many photos at several sizes, so that growth with the photo count shows: each
// size adds distinct generated 2-megapixel JPEGs (bench/projectphotos.h) through the real main
// window under the offscreen platform and times each step the customer waits for:
//   add       Tfmain::AddFiles (TPhotoBatch, a worker per core, the wait window's progress,
//             the project file's saver listening, as in the program);
//   memory    the process's resident memory after the add (and before it);
//   grid      one frame of the grid while it scrolls (bench/gridwindow.h), median of many;
//   save      the project file's saver writing a change (TProjectSaver::Flush: the copy on
//             this thread, the text and the atomic write on its writer);
//   restore   ReadProjectFile and Tfmain::RestoreProject after the project was cleared;
//   order     TOrder::InitOrder, then TOrder::RenderOrderPhotos onto 10x15 at 300 dpi (two
//             render threads, JPEG quality 100, the history's contact sheets).
// Every step prints its wall time, its time per photo, the process's CPU time per photo (every
// thread, user + system) and the load average after it, then a table of the time per photo of
// every size: a step whose cost grows faster than the photo count shows there as a rising column,
// and within a size as a rising time per photo from the first quarter of the step to the last.
// The sources are dropped from the page cache before the add and before the restore (cold
// reads); the order reads the working copies the restore has just written (mostly from the
// page cache).
//   scale_bench [--one-source] [N ...]   (default 250 500 1000; --one-source adds the first
//                                         photo N times instead of N distinct files)
#include "bench/cameraphoto.h"
#include "bench/gridwindow.h"
#include "bench/offscreen.h"
#include "bench/projectphotos.h"
#include "order/history.h"
#include "order/orderpackage.h"
#include "project/projectfile.h"
#include "project/projectsaver.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>
#include <vector>

namespace {

struct TStepTime {
    double wallMs = 0;
    double cpuMs = 0;
    double load = 0; // after the step
};

// Times work() in wall and process CPU time.
template <typename Work> TStepTime Timed(Work&& work)
{
    const double cpuBefore = ProcessCpuMs();
    QElapsedTimer timer;
    timer.start();
    work();
    return { double(timer.nsecsElapsed()) / 1e6, ProcessCpuMs() - cpuBefore, LoadAverage() };
}

void PrintStep(const char* name, const TStepTime& time, int photos, const QString& note = {})
{
    std::printf("  %-44s %9.0f ms %9.2f ms %9.2f ms %6.1f  %s\n", name, time.wallMs, time.wallMs / photos,
        time.cpuMs / photos, time.load, qPrintable(note));
}

bool DropAll(const QStringList& paths)
{
    for (const QString& path : paths)
        if (!DropFromPageCache(path))
            return false;
    return true;
}

// The time per photo of each quarter of a step, from the moments the count of photos done
// passes each quarter: a cost that grows with the photos already in the project makes the later
// quarters slower, whatever the machine's load does between sizes. Fed by Reached, or by a
// timer that samples the project's count while the step runs the event loop (the main window
// runs it only while it waits for a photo, so where the photos are always ready in time the
// quarters are not resolved).
class TQuarters {
public:
    explicit TQuarters(int total, std::function<int()> count = {})
        : total_(total)
        , count_(std::move(count))
    {
        clock_.start();
        if (count_) {
            QObject::connect(&sampler_, &QTimer::timeout, [this] { Reached(count_()); });
            sampler_.start(10);
        }
    }

    void Reached(int done)
    {
        const int before = next_;
        while (next_ < 4 && done >= total_ * (next_ + 1) / 4)
            ends_[next_++] = double(clock_.nsecsElapsed()) / 1e6;
        blurred_ = blurred_ || next_ - before > 1;
    }

    // "q1 q2 q3 q4" in ms a photo, or what is missing.
    QString Text()
    {
        if (count_)
            Reached(count_());
        if (next_ < 4 || blurred_) // the step ran no events between two quarters' ends
            return QStringLiteral("quarters not resolved");
        QStringList quarters;
        for (int i = 0; i < 4; ++i) {
            const int photos = total_ * (i + 1) / 4 - total_ * i / 4;
            quarters << QString::number((ends_[i] - (i ? ends_[i - 1] : 0)) / std::max(photos, 1), 'f', 1);
        }
        return QStringLiteral("quarters ") + quarters.join(u' ') + QStringLiteral(" ms a photo");
    }

private:
    int total_;
    std::function<int()> count_;
    QElapsedTimer clock_;
    QTimer sampler_;
    double ends_[4] = {};
    int next_ = 0;
    bool blurred_ = false;
};

// What one size's steps give per photo, for the closing table.
struct TSizeFigures {
    double addMs = 0, memoryKb = 0, frameMs = 0, saveUs = 0, restoreMs = 0, initUs = 0, renderMs = 0;
};

class TScaleBench {
public:
    TScaleBench()
        : grid_(bench_.config)
        , saver_(*bench_.project, bench_.TempFolder() + QStringLiteral("/project.vdp"))
    {
        bench_.project->defaultFormat = kFormat10x15; // every photo goes into the order
    }

    // False when a step fails (said on stderr).
    bool Run(const QStringList& sources, TSizeFigures& figures);

private:
    bool Add(const QStringList& sources, TSizeFigures& figures);
    void Grid(TSizeFigures& figures);
    bool Save(TSizeFigures& figures);
    bool Restore(const QStringList& sources, TSizeFigures& figures);
    bool Order(TSizeFigures& figures);

    ScopedAppDir appDir_; // the order history goes there
    TProjectFixture bench_;
    TGridWindow grid_;
    TProjectSaver saver_;
    TVDImage& project_ = *bench_.project;
};

bool TScaleBench::Run(const QStringList& sources, TSizeFigures& figures)
{
    const int count = int(sources.size());
    std::printf("\n%d photos\n  %-44s %12s %12s %12s %6s\n", count, "step", "wall", "per photo", "CPU/photo", "load");
    bool ok = Add(sources, figures);
    if (ok) {
        Grid(figures);
        ok = Save(figures) && Restore(sources, figures) && Order(figures);
    }
    const TStepTime clear = Timed([&] { project_.Clear(); });
    saver_.Flush();
    PrintStep("clearing the project (working copies deleted)", clear, count);
    return ok;
}

bool TScaleBench::Add(const QStringList& sources, TSizeFigures& figures)
{
    const int count = int(sources.size());
    if (!DropAll(sources)) {
        std::fprintf(stderr, "scale_bench: a source cannot be read\n");
        return false;
    }
    malloc_trim(0);
    const double before = CurrentMemoryMb();
    TQuarters quarters(count, [this] { return project_.Count(); });
    const TStepTime add = Timed([&] { grid_.window->AddFiles(sources); });
    const double after = CurrentMemoryMb();
    if (project_.Count() != count) {
        std::fprintf(stderr, "scale_bench: %d of %d photos added\n", project_.Count(), count);
        return false;
    }
    PrintStep("add (AddFiles, cold sources)", add, count, quarters.Text());
    figures.addMs = add.wallMs / count;
    figures.memoryKb = (after - before) * 1024 / count;
    std::printf("  resident memory after the add: %.0f MB (%.0f MB before it: %.0f KB a photo)\n", after, before,
        figures.memoryKb);
    return true;
}

void TScaleBench::Grid(TSizeFigures& figures)
{
    constexpr int kFrames = 300;
    for (int i = 0; i < 10; ++i)
        grid_.Frame(); // the first paints of the window are not what scrolling costs
    std::vector<double> frames;
    const double load = LoadAverage();
    for (int i = 0; i < kFrames; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QPixmap frame = grid_.Frame();
        frames.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    figures.frameMs = Median(frames);
    std::sort(frames.begin(), frames.end());
    std::printf("  grid frame while scrolling: median %.2f ms, 90th percentile %.2f ms, slowest %.2f ms (%d frames, "
                "grid %d px high, load %.1f)\n",
        figures.frameMs, frames[std::size_t(kFrames * 9 / 10)], frames.back(), kFrames, grid_.window->draw->height(),
        load);
}

bool TScaleBench::Save(TSizeFigures& figures)
{
    const int count = project_.Count();
    saver_.Flush(); // what the add left to write
    TSavedProject state;
    const TStepTime copy = Timed([&] { state = SavedState(project_); });
    project_.Photo(count - 1).quantity = 2; // one change, at the end, as a customer makes it
    const TStepTime save = Timed([&] { saver_.Flush(); });
    const std::optional<TSavedProject> written = ReadProjectFile(saver_.Path());
    if (!written || state.photos.size() != std::size_t(count) || written->photos.size() != std::size_t(count)
        || written->photos.back().quantity != 2) {
        std::fprintf(stderr, "scale_bench: the project file does not hold the project\n");
        return false;
    }
    PrintStep("save (the saver's flush: copy, text, write)", save, count,
        QStringLiteral("%1 KB file; the copy alone %2 ms")
            .arg(QFileInfo(saver_.Path()).size() / 1024)
            .arg(copy.wallMs, 0, 'f', 2));
    figures.saveUs = save.wallMs * 1000 / count;
    return true;
}

bool TScaleBench::Restore(const QStringList& sources, TSizeFigures& figures)
{
    const int count = int(sources.size());
    // Clearing the project empties the saver's file, so the restore reads a copy of it, as the
    // program reads the file its last run left.
    const QString file = bench_.TempFolder() + QStringLiteral("/restore.vdp");
    QFile::remove(file);
    if (!QFile::copy(saver_.Path(), file)) {
        std::fprintf(stderr, "scale_bench: the project file cannot be copied\n");
        return false;
    }
    project_.Clear();
    saver_.Flush();
    if (!DropAll(sources)) {
        std::fprintf(stderr, "scale_bench: a source cannot be read\n");
        return false;
    }
    TQuarters quarters(count, [this] { return project_.Count(); });
    const TStepTime restore = Timed([&] {
        const std::optional<TSavedProject> saved = ReadProjectFile(file);
        if (saved)
            grid_.window->RestoreProject(*saved);
    });
    if (project_.Count() != count || project_.Photo(count - 1).quantity != 2) {
        std::fprintf(stderr, "scale_bench: %d of %d photos restored\n", project_.Count(), count);
        return false;
    }
    PrintStep("restore (ReadProjectFile, RestoreProject)", restore, count,
        QStringLiteral("cold sources; ") + quarters.Text());
    figures.restoreMs = restore.wallMs / count;
    return true;
}

bool TScaleBench::Order(TSizeFigures& figures)
{
    const int count = project_.Count();
    saver_.Flush();
    TOrder order;
    THistory history;
    order.Reset();
    TOrderStep step;
    const TStepTime init = Timed([&] { step = order.InitOrder(project_, QStringLiteral("%data%"), history); });
    if (!step.ok) {
        std::fprintf(stderr, "scale_bench: InitOrder failed: %s\n", qPrintable(step.message));
        return false;
    }
    PrintStep("order set-up (InitOrder)", init, count);
    malloc_trim(0);
    const double before = CurrentMemoryMb();
    ResetPeakMemory();
    TQuarters quarters(count);
    int rendered = 0;
    TOrderListener listener;
    listener.showRendered = [&](const QImage&) { quarters.Reached(++rendered); };
    const TStepTime render
        = Timed([&] { step = order.RenderOrderPhotos(project_, bench_.engine.outputdpi, history, listener); });
    const double added = PeakMemoryMb() - before;
    const qsizetype files = order.orderFiles.size();
    order.CleanupOrder();
    if (!step.ok || files != count) {
        std::fprintf(stderr, "scale_bench: RenderOrderPhotos failed: %s\n", qPrintable(step.message));
        return false;
    }
    PrintStep("order render (RenderOrderPhotos, 10x15)", render, count,
        QStringLiteral("%1 MB added at the peak; ").arg(added, 0, 'f', 0) + quarters.Text());
    figures.initUs = init.wallMs * 1000 / count;
    figures.renderMs = render.wallMs / count;
    return true;
}

// Room for one size: the working and preview copies, one rendered print a photo and the
// project file, with a margin.
bool FitsTheDisk(const QString& folder, int count)
{
    constexpr double kPerPhoto = 4.0 * kProjectPhotoWidth * kProjectPhotoHeight + 4.0 * 800 * 533 + 3e6;
    const double needed = 1.2 * kPerPhoto * count;
    const double available = double(QStorageInfo(folder).bytesAvailable());
    if (available >= needed)
        return true;
    std::fprintf(stderr, "scale_bench: %d photos need %.1f GB in %s, %.1f GB are free\n", count, needed / 1e9,
        qPrintable(folder), available / 1e9);
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenPlatform();
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each step shows as it ends, also into a file
    QStringList args = app.arguments().mid(1);
    const bool oneSource = args.removeAll(QStringLiteral("--one-source")) > 0;
    std::vector<int> sizes;
    for (const QString& arg : args)
        if (arg.toInt() > 0)
            sizes.push_back(arg.toInt());
    if (sizes.empty())
        sizes = { 250, 500, 1000 };
    const int largest = *std::max_element(sizes.begin(), sizes.end());
    QElapsedTimer making;
    making.start();
    const QStringList photos = ProjectPhotos(oneSource ? 1 : largest);
    if (photos.isEmpty()) {
        std::fprintf(stderr, "scale_bench: the photos cannot be written in %s\n", qPrintable(BenchPhotoFolder()));
        return 1;
    }
    std::printf("photos: %s, %d x %d, %s (made or found in %.1f s)\n", qPrintable(QFileInfo(photos[0]).path()),
        kProjectPhotoWidth, kProjectPhotoHeight, oneSource ? "one source added N times" : "N distinct files",
        double(making.elapsed()) / 1e3);
    std::printf("cores: %u, load average at the start: %.1f\n", std::thread::hardware_concurrency(), LoadAverage());
    TScaleBench bench;
    std::map<int, TSizeFigures> figures;
    for (const int size : sizes) {
        if (!FitsTheDisk(QDir::tempPath(), size))
            return 1;
        const QStringList sources = oneSource ? QStringList(size, photos[0]) : photos.mid(0, size);
        if (!bench.Run(sources, figures[size]))
            return 1;
    }
    std::printf("\nper photo     add ms   memory KB   grid frame ms   save us   restore ms   order set-up us   "
                "order render ms\n");
    for (const auto& [size, f] : figures)
        std::printf("%5d %12.2f %11.0f %15.2f %9.1f %12.2f %17.1f %17.2f\n", size, f.addMs, f.memoryKb, f.frameMs,
            f.saveUs, f.restoreMs, f.initUs, f.renderMs);
    std::printf("load average at the end: %.1f\n", LoadAverage());
    return 0;
}
