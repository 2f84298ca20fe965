// SPDX-License-Identifier: MIT
// Benchmarks of the calculation and of one scroll step as the window does it.
#include <benchmark/benchmark.h>

#ifdef CDNOZZLE_BENCH_GUI
#include <QApplication>
#endif

int main(int argc, char** argv)
{
#ifdef CDNOZZLE_BENCH_GUI
    // The window is measured without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
