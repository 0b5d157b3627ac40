#pragma once
// The main function of a benchmark that needs a Qt application object (offscreen unless the
// environment chooses a platform).
#include "bench/offscreen.h"

#include <benchmark/benchmark.h>

template <typename TApplication> int RunBenchmarks(int argc, char** argv)
{
    PreferOffscreenPlatform();
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
