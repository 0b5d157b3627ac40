#pragma once
// The main function of a benchmark that needs a Qt application object (offscreen unless the
// environment chooses a platform).
#include <QByteArray>
#include <QtGlobal>

#include <benchmark/benchmark.h>

template <typename TApplication> int RunBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
