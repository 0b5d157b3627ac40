// Painting the thumbnail grid of a 5000-photo project while it scrolls: one frame is a scroll
// by 40 pixels and the painting of the visible band of the grid, as the window shows it.
#include "bench/benchmain.h"
#include "bench/gridwindow.h"
#include "project/photoprep.h"
#include "tests/project/projectfixture.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_GridScrollFrame5000Photos(benchmark::State& state)
{
    TProjectFixture bench;
    TVDImage& project = *bench.project;
    for (int i = 0; i < 5000; ++i) {
        TPreparedPhoto photo;
        photo.ok = true;
        photo.slot = { QStringLiteral("/photos/IMG_%1.JPG").arg(i), bench.PhotoPath(QStringLiteral("w%1.sbm").arg(i)),
            bench.PhotoPath(QStringLiteral("p%1.sbm").arg(i)) };
        photo.info.width = 6000;
        photo.info.height = 4000;
        photo.preview = QImage(i % 3 == 0 ? 600 : 800, 533, QImage::Format_ARGB32);
        photo.preview.fill(qRgb(i % 256, 80, 160));
        project.AppendPhoto(std::move(photo));
        if (i % 7 == 0)
            project.Photo(i).selected = true;
    }
    TGridWindow grid(bench.config);
    for (auto _ : state) {
        const QPixmap frame = grid.Frame();
        benchmark::DoNotOptimize(frame);
    }
    state.counters["grid_height"] = double(grid.window->draw->height());
    state.counters["frames"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GridScrollFrame5000Photos)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks<QApplication>(argc, argv);
}
