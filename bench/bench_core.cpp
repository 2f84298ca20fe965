#include "nozzle_model.h"
#include "number_text.h"
#include "plots/back_pressure_bars.h"

#include <benchmark/benchmark.h>

#include <string>

namespace cdnozzle {

namespace {

// One calculation: Me_Sup and Pe/Po as given (Pe/Po in thousandths).
void BM_CalcFlow(benchmark::State& state)
{
    const InputTexts texts{std::to_string(state.range(0)), "3",
                           formatGeneral(static_cast<double>(state.range(1)) / 1000)};
    NozzleModel model(texts);
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.calculate(texts));
    }
    state.SetLabel("Me_Sup " + texts.me_sup + ", Pe/Po " + texts.pe_po);
}
BENCHMARK(BM_CalcFlow)
    ->ArgsProduct({{2, 3}, {1000, 990, 900, 800, 500, 100}})
    ->Unit(benchmark::kMicrosecond);

// The same without reusing the grid's inversions: the first calculation
// after the nozzle changed.
void BM_CalcFlowCold(benchmark::State& state)
{
    const InputTexts texts{std::to_string(state.range(0)), "3",
                           formatGeneral(static_cast<double>(state.range(1)) / 1000)};
    NozzleModel model(texts);
    model.setStationCacheEnabled(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.calculate(texts));
    }
    state.SetLabel("Me_Sup " + texts.me_sup + ", Pe/Po " + texts.pe_po);
}
BENCHMARK(BM_CalcFlowCold)
    ->ArgsProduct({{2, 3}, {1000, 990, 900, 800, 500, 100}})
    ->Unit(benchmark::kMicrosecond);

// The fine bar's whole range: the calculations of positions 1..1000 in a row.
void BM_FineSweep(benchmark::State& state)
{
    std::vector<InputTexts> inputs;
    for (int w = kFineMin; w <= kFineMax; ++w)
        inputs.push_back({"2", "3", formatGeneral(finePePo(w))});
    NozzleModel model(inputs.front());
    for (auto _ : state) {
        for (const InputTexts& texts : inputs) benchmark::DoNotOptimize(model.calculate(texts));
    }
    state.counters["per_calc_us"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 1000,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_FineSweep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The sweep recomputing every inversion at every position.
void BM_FineSweepCold(benchmark::State& state)
{
    std::vector<InputTexts> inputs;
    for (int w = kFineMin; w <= kFineMax; ++w)
        inputs.push_back({"2", "3", formatGeneral(finePePo(w))});
    NozzleModel model(inputs.front());
    model.setStationCacheEnabled(false);
    for (auto _ : state) {
        for (const InputTexts& texts : inputs) benchmark::DoNotOptimize(model.calculate(texts));
    }
}
BENCHMARK(BM_FineSweepCold)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

} // namespace cdnozzle
