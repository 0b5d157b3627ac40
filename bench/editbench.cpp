// The colour-correction window's preview: one full re-render of an 800 x 533 preview (the noisy
// test photo) with all nine settings and sepia, as EDITTHREAD does it after every change of a
// setting (a new pass for the new value, then every row under the lock), and the same through
// the real worker from the request to the last row. Run with --benchmark_repetitions=5
// --benchmark_report_aggregates_only=true for medians.
#include "bench/benchmain.h"
#include "bench/noisyphoto.h"
#include "imaging/colour.h"
#include "imaging/colourpass.h"
#include "imaging/editthread.h"
#include "imaging/picture.h"

#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

constexpr int kWidth = 800, kHeight = 533;

const QImage& Preview()
{
    static const QImage preview = NoisyTestPhoto(kWidth, kHeight);
    return preview;
}

// All nine settings, with sepia unless told; the brightness follows a slider being dragged.
Corrections Settings(int step, bool sepia = true)
{
    Corrections record;
    InitCorrections(record);
    record.sepia = sepia;
    record.inten = step % 41 - 20;
    record.contr = 25;
    record.balr = -30;
    record.balg = 15;
    record.balb = 40;
    record.sat = 35;
    record.hue1 = 60;
    record.hue2 = -20;
    record.hue3 = 10;
    return record;
}

void ReRenderAsTheWorkerDoes(benchmark::State& state)
{
    const QImage& source = Preview();
    QImage result = NewPicture(kWidth, kHeight);
    const int pivot = AverageGrey(source);
    std::mutex lock;
    int step = 0;
    for (auto _ : state) {
        const TColourPass pass(Settings(step++, state.range(0) != 0), pivot, std::int64_t(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y) {
            const std::lock_guard<std::mutex> guard(lock);
            const auto* in = reinterpret_cast<const std::uint32_t*>(source.constScanLine(y));
            auto* out = reinterpret_cast<std::uint32_t*>(result.scanLine(y));
            std::copy(in, in + kWidth, out);
            pass.ApplyRow(out, kWidth);
        }
        benchmark::DoNotOptimize(result.constBits());
    }
}
// Argument 1: all nine settings and sepia (the target case); 0: all nine without sepia.
BENCHMARK(ReRenderAsTheWorkerDoes)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the request to the last row through EDITTHREAD: includes the worker's 10 ms polling.
void RequestToLastRowThroughTheWorker(benchmark::State& state)
{
    EditState edit;
    edit.source = Preview().copy();
    edit.result = edit.source.copy();
    edit.pivot = AverageGrey(edit.source);
    StartEditWorker(edit);
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BreakEditRender(edit);
        const Corrections settings = Settings(step++);
        QImage lastRow = edit.source.copy(0, kHeight - 1, kWidth, 1);
        ApplyColourPass(lastRow, TColourPass(settings, edit.pivot));
        {
            const std::lock_guard<std::mutex> guard(edit.lock);
            std::memset(edit.result.scanLine(kHeight - 1), 0, kWidth * 4);
        }
        state.ResumeTiming();
        RequestEditRender(edit, settings);
        for (bool done = false; !done;) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            const std::lock_guard<std::mutex> guard(edit.lock);
            done = std::memcmp(edit.result.constScanLine(kHeight - 1), lastRow.constBits(), kWidth * 4) == 0;
        }
    }
    StopEditWorker(edit);
}
BENCHMARK(RequestToLastRowThroughTheWorker)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks<QGuiApplication>(argc, argv);
}
