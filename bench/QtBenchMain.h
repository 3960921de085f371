#pragma once
// The main function of the benchmarks that paint widgets: a QApplication on the offscreen platform
// (unless the caller chose one) around Google Benchmark's run.
#include <benchmark/benchmark.h>

#include <QApplication>

namespace lumavox::bench {

inline int RunWidgetBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace lumavox::bench
