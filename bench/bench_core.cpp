// SPDX-License-Identifier: MIT
#include "model/nozzle_model.h"
#include "panel/back_pressure_bars.h"
#include "text/number_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace cdnozzle {

namespace {

// One calculation: Me_Sup and Pe/Po as given (Pe/Po in thousandths), with
// or without reusing the grid's inversions of the previous calculation.
void calcFlow(benchmark::State& state, bool reuse)
{
    const InputTexts texts{std::to_string(state.range(0)), "3",
                           formatGeneral(static_cast<double>(state.range(1)) / 1000)};
    NozzleModel model(texts);
    model.setStationCacheEnabled(reuse);
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.calculate(texts));
    }
    state.SetLabel("Me_Sup " + texts.me_sup + ", Pe/Po " + texts.pe_po);
}

// The fine bar's whole range: the calculations of positions 1..1000 in a row.
void fineSweep(benchmark::State& state, bool reuse)
{
    std::vector<InputTexts> inputs;
    for (int w = kFineMin; w <= kFineMax; ++w)
        inputs.push_back({"2", "3", formatGeneral(finePePo(w))});
    NozzleModel model(inputs.front());
    model.setStationCacheEnabled(reuse);
    for (auto _ : state) {
        for (const InputTexts& texts : inputs) benchmark::DoNotOptimize(model.calculate(texts));
    }
}

void BM_CalcFlow(benchmark::State& state)
{
    calcFlow(state, true);
}
// The first calculation after the nozzle changed.
void BM_CalcFlowCold(benchmark::State& state)
{
    calcFlow(state, false);
}
void BM_FineSweep(benchmark::State& state)
{
    fineSweep(state, true);
}
void BM_FineSweepCold(benchmark::State& state)
{
    fineSweep(state, false);
}

BENCHMARK(BM_CalcFlow)
    ->ArgsProduct({{2, 3}, {1000, 990, 900, 800, 500, 100}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcFlowCold)
    ->ArgsProduct({{2, 3}, {1000, 990, 900, 800, 500, 100}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FineSweep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FineSweepCold)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

} // namespace cdnozzle
