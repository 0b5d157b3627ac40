// Speed of the photo project: adding a camera-sized photo (one core, and fifty on every core),
// restoring fifty from a project file, keeping the project file of 5000 photos,
// rendering a print and saving it as the order does, rendering a whole order of fifty, with the
// peak memory of the process. Links only the window-free library, so the process holds no more
// than the work needs.
#include "bench/benchmain.h"
#include "bench/cameraphoto.h"
#include "imaging/jpegsave.h"
#include "order/history.h"
#include "order/orderpackage.h"
#include "project/photobatch.h"
#include "project/projectfile.h"
#include "project/uvdimage.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <malloc.h>
#include <random>
#include <sched.h>
#include <string>
#include <thread>
#include <vector>

namespace {

// Pins the process to one CPU while it lives (the photo is added "on one core").
class TOneCore {
public:
    TOneCore()
    {
        sched_getaffinity(0, sizeof(previous_), &previous_);
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(0, &one);
        sched_setaffinity(0, sizeof(one), &one);
    }
    ~TOneCore() { sched_setaffinity(0, sizeof(previous_), &previous_); }

private:
    cpu_set_t previous_ {};
};

void BM_AddPhoto6000x4000OneCore(benchmark::State& state)
{
    const QString photo = CameraPhoto();
    TProjectFixture bench;
    TOneCore oneCore;
    for (auto _ : state) {
        if (!bench.project->AddPhoto(photo))
            state.SkipWithError("AddPhoto failed");
        state.PauseTiming();
        bench.project->Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddPhoto6000x4000OneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Adds the photos on every core as the main window does, each with what saved holds for it
// when given (a project restored).
void AddOnAllCores(
    benchmark::State& state, TProjectFixture& bench, const QStringList& photos, const TSavedProject* saved = nullptr)
{
    TPhotoBatch batch(*bench.project, photos, bench.config.previewSize);
    TPreparedPhoto prepared;
    for (int i = 0; i < batch.Count(); ++i) {
        while (!batch.TakeNext(prepared, 20)) { }
        if (!prepared.ok)
            state.SkipWithError("a photo failed");
        bench.project->AppendPhoto(std::move(prepared), saved ? &saved->photos[std::size_t(i)] : nullptr);
    }
}

void BM_Add50Photos6000x4000AllCores(benchmark::State& state)
{
    const QString photo = CameraPhoto();
    TProjectFixture bench;
    const QStringList photos(50, photo);
    for (auto _ : state) {
        AddOnAllCores(state, bench, photos);
        state.PauseTiming();
        bench.project->Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Add50Photos6000x4000AllCores)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// Restoring the same 50 photos from a project file: read the file, decode the sources on every
// core and give each photo its format, crop and colour corrections (the thumbnails show them).
void BM_Restore50Photos6000x4000AllCores(benchmark::State& state)
{
    const QString photo = CameraPhoto();
    TProjectFixture bench;
    AddOnAllCores(state, bench, QStringList(50, photo));
    for (int i = 0; i < bench.project->Count(); ++i) {
        bench.project->SetFormat(i, kFormat10x15);
        Corrections record = bench.project->GetCorrections(i);
        record.sat = 30;
        record.contr = 20;
        record.sepia = i % 2;
        bench.project->SetCorrections(i, record);
    }
    const QString file = bench.TempFolder() + QStringLiteral("/project.vdp");
    if (!WriteProjectFile(file, SavedState(*bench.project)))
        return state.SkipWithError("WriteProjectFile failed");
    bench.project->Clear();
    for (auto _ : state) {
        const std::optional<TSavedProject> saved = ReadProjectFile(file);
        if (!saved)
            return state.SkipWithError("ReadProjectFile failed");
        QStringList sources;
        for (const TSavedPhoto& source : saved->photos)
            sources << source.sourcePath;
        AddOnAllCores(state, bench, sources, &*saved);
        state.PauseTiming();
        bench.project->Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Restore50Photos6000x4000AllCores)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// A project of 5000 photos with long paths, a crop and colour settings, built without decoding
// (a tiny preview per photo).
void FillProject(TVDImage& project, int count)
{
    for (int i = 0; i < count; ++i) {
        TPreparedPhoto photo;
        photo.ok = true;
        photo.slot.sourcePath = QStringLiteral("/home/klient/Obrazy/2026/Wakacje nad morzem - Łeba/IMG_20260712_%1.jpg")
                                    .arg(i, 6, 10, QChar(u'0'));
        photo.info.width = 6000;
        photo.info.height = 4000;
        photo.preview = QImage(8, 8, QImage::Format_ARGB32);
        photo.preview.fill(Qt::gray);
        project.AppendPhoto(std::move(photo));
        Corrections record = project.GetCorrections(i);
        record.crop = { 0.1f, 0.1f, 0.8f, 0.7f, 0.9f, 0.8f };
        record.sat = 20;
        project.SetCorrections(i, record);
    }
}

// What the project file's saver does on the user-interface thread when its second is over:
// copy the customer's part of 5000 photos, compare it with the last one written (one quantity
// differs, at the end) and hand the copy over. The text and the file are made on a worker.
void BM_ProjectSaveUiThread5000Photos(benchmark::State& state)
{
    TProjectFixture bench;
    FillProject(*bench.project, 5000);
    TSavedProject written = SavedState(*bench.project);
    int quantity = 1;
    for (auto _ : state) {
        bench.project->Photo(4999).quantity = quantity = quantity % 99 + 1;
        TSavedProject copy = SavedState(*bench.project);
        if (copy != written) {
            written = copy;
            TSavedProject handed = std::move(copy);
            benchmark::DoNotOptimize(handed);
        }
    }
}
BENCHMARK(BM_ProjectSaveUiThread5000Photos)->Unit(benchmark::kMillisecond)->UseRealTime();

// The worker's part for the same project: the text and the atomic write.
void BM_ProjectFileWrite5000Photos(benchmark::State& state)
{
    TProjectFixture bench;
    FillProject(*bench.project, 5000);
    const TSavedProject saved = SavedState(*bench.project);
    const QString file = bench.TempFolder() + QStringLiteral("/project.vdp");
    for (auto _ : state)
        if (!WriteProjectFile(file, saved))
            state.SkipWithError("WriteProjectFile failed");
    state.counters["bytes"] = double(QFileInfo(file).size());
}
BENCHMARK(BM_ProjectFileWrite5000Photos)->Unit(benchmark::kMillisecond)->UseRealTime();

// RenderOutput and SaveJpeg (quality 100, as the order package saves) of a turned, cropped
// photo with every colour setting in use; `parallel` photos at once, each on its own thread (as
// the order renders them). The working copy is read in bands, so the process's peak grows by
// the sheets, the bands and the encoder, not by the 96 MB copies.
void RenderAndSave(benchmark::State& state, int format, int parallel = 1)
{
    const QString photo = CameraPhoto();
    TProjectFixture bench;
    for (int i = 0; i < parallel; ++i) {
        bench.project->AddPhoto(photo);
        bench.project->SetFormat(i, format);
        Corrections record = bench.project->GetCorrections(i);
        record.rotation = 1;
        record.crop = { 0.05f, 0.08f, 0.9f, 0.75f, 0.95f, 0.83f };
        record.sat = 20;
        record.inten = 10;
        record.contr = 15;
        record.balr = -10;
        record.balg = 5;
        record.balb = 8;
        record.hue1 = 12;
        record.hue2 = 10;
        record.hue3 = -5;
        bench.project->SetCorrections(i, record);
    }
    double peak = 0, before = 0, added = 0;
    std::atomic<std::int64_t> renderNs = 0; // summed over the renders
    const double cpuBefore = ProcessCpuMs();
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0); // what the set-up freed is not counted
        before = CurrentMemoryMb();
        ResetPeakMemory();
        state.ResumeTiming();
        std::atomic<bool> saved = true;
        const auto renderAndSave = [&](int index) {
            QImage picture;
            QElapsedTimer timer;
            timer.start();
            bench.project->RenderOutput(index, picture);
            renderNs += timer.nsecsElapsed();
            if (!SaveJpeg(picture, bench.PhotoPath(QStringLiteral("print%1.jpg").arg(index)), 100))
                saved = false;
        };
        if (parallel == 1) {
            renderAndSave(0);
        } else {
            std::vector<std::jthread> workers;
            for (int i = 0; i < parallel; ++i)
                workers.emplace_back(renderAndSave, i);
        }
        if (!saved)
            state.SkipWithError("SaveJpeg failed");
        peak = std::max(peak, PeakMemoryMb());
        added = std::max(added, PeakMemoryMb() - before);
    }
    QCoreApplication::sendPostedEvents(); // the workers' log lines
    state.counters["peak_MB"] = peak; // the whole process
    state.counters["before_MB"] = before; // the process before the render
    state.counters["added_MB"] = added; // what the render and save added at their peak
    const double renders = double(state.iterations()) * parallel;
    state.counters["render_ms"] = double(renderNs) / 1e6 / renders; // RenderOutput alone, wall time
    // CPU time of the process (every thread) per photo rendered and saved, less sensitive to
    // other load on the machine than the wall time.
    state.counters["cpu_ms"] = (ProcessCpuMs() - cpuBefore) / renders;
}

void BM_RenderOutputAndSave10x15(benchmark::State& state)
{
    RenderAndSave(state, kFormat10x15);
}
BENCHMARK(BM_RenderOutputAndSave10x15)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// Two different photos rendered and saved at the same time on two threads.
void BM_TwoRenderOutputsAndSavesInParallel10x15(benchmark::State& state)
{
    RenderAndSave(state, kFormat10x15, 2);
}
BENCHMARK(BM_TwoRenderOutputsAndSavesInParallel10x15)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_RenderOutputAndSave30x45(benchmark::State& state)
{
    RenderAndSave(state, kFormat30x45);
}
BENCHMARK(BM_RenderOutputAndSave30x45)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The order's rendering step: 50 camera photos onto 10x15 at 300 dpi, rendered on the worker
// threads, saved as quality-100 JPEG files and drawn into the history pages (TOrder, as the
// send-order window runs it). Adding the photos is set-up, not timed.
void BM_RenderOrder50Photos10x15(benchmark::State& state)
{
    const QString photo = CameraPhoto();
    TProjectFixture bench;
    {
        TPhotoBatch batch(*bench.project, QStringList(50, photo), bench.config.previewSize);
        TPreparedPhoto prepared;
        for (int i = 0; i < batch.Count(); ++i) {
            while (!batch.TakeNext(prepared, 20)) { }
            if (!prepared.ok)
                return state.SkipWithError("a photo failed");
            bench.project->AppendPhoto(std::move(prepared));
            bench.project->SetFormat(i, kFormat10x15);
        }
    }
    ScopedAppDir app;
    double added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TOrder order;
        THistory history;
        order.Reset();
        if (!order.InitOrder(*bench.project, QStringLiteral("%data%"), history).ok)
            return state.SkipWithError("InitOrder failed");
        malloc_trim(0);
        const double before = CurrentMemoryMb();
        ResetPeakMemory();
        state.ResumeTiming();
        if (!order.RenderOrderPhotos(*bench.project, bench.engine.outputdpi, history, {}).ok)
            state.SkipWithError("RenderOrderPhotos failed");
        state.PauseTiming();
        added = std::max(added, PeakMemoryMb() - before);
        order.CleanupOrder();
        state.ResumeTiming();
    }
    state.counters["added_MB"] = added; // what rendering added at its peak
}
BENCHMARK(BM_RenderOrder50Photos10x15)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
