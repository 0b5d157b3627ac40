#include "imaging/parallelrows.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace {
constexpr std::int64_t kPixelsPerBand = 256 * 1024;
}

void ParallelRows(int rows, std::int64_t pixelsPerRow, const std::function<void(int, int)>& work)
{
    if (rows <= 0)
        return;
    const std::int64_t total = std::int64_t(rows) * std::max<std::int64_t>(pixelsPerRow, 1);
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int bands = int(std::clamp<std::int64_t>(total / kPixelsPerBand, 1, std::min(cores, rows)));
    if (bands == 1) {
        work(0, rows);
        return;
    }
    std::vector<std::thread> helpers;
    helpers.reserve(bands - 1);
    const auto bandStart = [&](int band) { return int(std::int64_t(rows) * band / bands); };
    for (int band = 1; band < bands; ++band) {
        const int first = bandStart(band), end = bandStart(band + 1);
        try {
            helpers.emplace_back([&work, first, end] { work(first, end); });
        } catch (const std::system_error&) {
            work(first, end); // no thread to be had: do the band here
        }
    }
    work(0, bandStart(1));
    for (std::thread& helper : helpers)
        helper.join();
}
