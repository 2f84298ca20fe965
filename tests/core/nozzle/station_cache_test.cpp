// SPDX-License-Identifier: MIT
// Reusing the grid's inversions between calculations must not change a bit:
// the whole fine-bar sweep, and a shuffled mix of nozzles, give the same
// station arrays, limits, report, marks and scenes with and without reuse.
#include "core/test_support.h"
#include "panel/back_pressure_bars.h"
#include "text/number_text.h"

#include <algorithm>
#include <random>
#include <vector>

namespace cdnozzle {

namespace {

void expectSameResults(const std::vector<InputTexts>& inputs)
{
    NozzleModel plain, reusing;
    plain.setStationCacheEnabled(false);
    for (const InputTexts& texts : inputs) {
        ASSERT_FALSE(plain.calculate(texts));
        ASSERT_FALSE(reusing.calculate(texts));
        ASSERT_EQ(reusing.state(), plain.state()) << texts.me_sup << ' ' << texts.pe_po;
        ASSERT_EQ(reusing.result(), plain.result()) << texts.me_sup << ' ' << texts.pe_po;
        ASSERT_EQ(reusing.geometryScene(), plain.geometryScene());
        ASSERT_EQ(reusing.machScene(), plain.machScene());
        ASSERT_EQ(reusing.thirdScene(), plain.thirdScene());
    }
}

} // namespace

TEST(StationCache, FineSweepIsBitIdentical)
{
    for (const char* me : {"2", "3"}) {
        std::vector<InputTexts> inputs;
        for (int w = kFineMin; w <= kFineMax; ++w)
            inputs.push_back({me, "3", formatGeneral(finePePo(w))});
        expectSameResults(inputs);
        std::reverse(inputs.begin(), inputs.end()); // and back up
        expectSameResults(inputs);
    }
}

TEST(StationCache, ChangingNozzlesNeverReusesAnotherGrid)
{
    std::mt19937 rng(7);
    const std::vector<std::string> designs{"2",   "2.0000000000000004", "1.5", "3", "1.05", "1",
                                           "4.25"};
    std::vector<InputTexts> inputs;
    for (int n = 0; n < 600; ++n) {
        const std::string& me = designs[rng() % designs.size()];
        inputs.push_back({me, "3", formatGeneral(finePePo(1 + static_cast<int>(rng() % 1000)))});
    }
    expectSameResults(inputs);
}

// The inversions depend on the gas as much as on the grid: after a change
// of gas the same nozzle is solved afresh.
TEST(StationCache, ChangingTheGasNeverReusesAnotherGasesInversions)
{
    NozzleModel plain, reusing;
    plain.setStationCacheEnabled(false);
    for (double k : {1.4, 5.0 / 3.0, 1.2, 1.4}) {
        plain.setGas(k);
        reusing.setGas(k);
        for (const char* pepo : {"0.8", "0.3"}) {
            const InputTexts texts{"2", "3", pepo};
            ASSERT_FALSE(plain.calculate(texts));
            ASSERT_FALSE(reusing.calculate(texts));
            EXPECT_EQ(reusing.state(), plain.state()) << k << ' ' << pepo;
            EXPECT_EQ(reusing.result(), plain.result()) << k << ' ' << pepo;
        }
    }
}

TEST(StationCache, FailedIterationsAreReportedEveryTime)
{
    // A station whose inversion fails must not be remembered: give the cache
    // a grid whose throat area ratio is below 1 (no subsonic root).
    FlowState s;
    Form_Load(s, InputTexts{});
    s.AA[5] = 0.5;
    StationCache cache;
    cache.bind(s);
    int reports = 0;
    const NotConvergedHandler count = [&](const std::string&) { ++reports; };
    auto compute = [&](const NotConvergedHandler& h) { return M_iter(s, s.AA[5], 1, kSesAlti, h); };
    const double first = cache.get(StationCache::ChokedSubsonicMach, 5, count, compute);
    const double second = cache.get(StationCache::ChokedSubsonicMach, 5, count, compute);
    EXPECT_EQ(reports, 2);
    EXPECT_TRUE(first == second || (std::isnan(first) && std::isnan(second)));
    // A clean value is computed once.
    int computed = 0;
    auto clean = [&](const NotConvergedHandler&) {
        ++computed;
        return 1.5;
    };
    cache.get(StationCache::SupersonicMach, 30, count, clean);
    cache.get(StationCache::SupersonicMach, 30, count, clean);
    EXPECT_EQ(computed, 1);
    // Another grid starts afresh.
    s.M_max = 2.5;
    cache.bind(s);
    cache.get(StationCache::SupersonicMach, 30, count, clean);
    EXPECT_EQ(computed, 2);
}

} // namespace cdnozzle
