// SPDX-License-Identifier: MIT
// The unsteady flow's speed: cell updates per second of each scheme at
// N = 400, and the start of a Me_Sup 2 nozzle from rest to steady.
#include "unsteady/unsteady_flow.h"

#include <benchmark/benchmark.h>

#include <string>

namespace cdnozzle {

namespace {

// A hundred steps of the design flow (smooth: every scheme runs it) a pass.
void BM_UnsteadyCellUpdates(benchmark::State& state)
{
    const auto scheme = static_cast<Scheme>(state.range(0));
    const Gas air = gasOf(1.4);
    UnsteadySettings s;
    s.scheme = scheme;
    s.cells = 400;
    s.courant = scheme == Scheme::MusclHllc || scheme == Scheme::Upwind ? 0.8 : 0.5;
    UnsteadyFlow flow(air, nozzleContour(air, 2), s, 0.1, Start::Steady, 0.1);
    long steps = 0;
    for (auto _ : state) {
        flow.run(100);
        steps += 100;
    }
    if (flow.brokeDown()) state.SkipWithError(flow.failure().c_str());
    state.SetItemsProcessed(steps * s.cells);
    state.SetLabel(std::string(schemeName(scheme)) + ", cell updates");
}
BENCHMARK(BM_UnsteadyCellUpdates)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// From rest to steady (residual below kSteadyResidual): a shock inside
// (Pe/Po 0.8) and the supersonic flow (0.3), 400 cells, MUSCL-Hancock.
void BM_UnsteadyStartToSteady(benchmark::State& state)
{
    const double pb = static_cast<double>(state.range(0)) / 100;
    const Gas air = gasOf(1.4);
    long steps = 0;
    for (auto _ : state) {
        UnsteadyFlow flow(air, nozzleContour(air, 2), UnsteadySettings{}, pb, Start::Rest);
        if (!flow.runUntilSteady(1000000)) state.SkipWithError("not steady");
        steps = flow.steps();
    }
    state.SetLabel("Me_Sup 2, Pe/Po " + std::to_string(pb).substr(0, 4) + ", " +
                   std::to_string(steps) + " steps");
}
BENCHMARK(BM_UnsteadyStartToSteady)->Arg(80)->Arg(30)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace cdnozzle
