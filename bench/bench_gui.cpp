// SPDX-License-Identifier: MIT
// One scroll step as the window runs it: the handlers, the calculations,
// the scenes and the painting of the three plots.
#include "main_window.h"
#include "plot_render.h"
#include "plot_view.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace cdnozzle {

namespace {

// A fine step that crosses into another coarse position: two calculations
// (the fine bar's, then the coarse bar's snap, which the fine bar follows
// without calculating again), then the repaint of the three plots.
// Alternates between two such steps.
void BM_WorstScrollStep(benchmark::State& state)
{
    MainWindow window;
    window.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    window.show();
    QApplication::processEvents();
    auto* fine = window.findChild<QScrollBar*>("VScroll2");
    fine->setValue(6);
    bool down = true;
    for (auto _ : state) {
        const int before = window.calculationCount();
        fine->setValue(down ? 17 : 6);
        down = !down;
        if (window.calculationCount() - before != 2) state.SkipWithError("the step did not snap");
    }
    state.SetLabel(std::to_string(window.width()) + "x" + std::to_string(window.height()));
}
BENCHMARK(BM_WorstScrollStep)
    ->Args({606, 560})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The three scenes of one state painted into an image the size of the
// window's plot column (default size, and a full-HD window).
void BM_PaintScenes(benchmark::State& state)
{
    NozzleModel model(InputTexts{"2", "3", "0.8"});
    model.calculate(InputTexts{"2", "3", "0.8"});
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(QColor(255, 255, 192));
        QPainter painter(&image);
        const double third = height / 3.0;
        paintDisplayList(painter, drawScene(model.geometryScene(), width, third, 1));
        paintDisplayList(painter, drawScene(model.machScene(), width, third, 1), {0, third});
        paintDisplayList(painter, drawScene(model.thirdScene(), width, third, 1), {0, 2 * third});
    }
}
BENCHMARK(BM_PaintScenes)->Args({377, 498})->Args({1700, 1000})->Unit(benchmark::kMillisecond);

} // namespace

} // namespace cdnozzle
