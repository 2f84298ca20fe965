// SPDX-License-Identifier: MIT
#include "nozzle/shock_search.h"

#include "core/test_support.h"

#include <cmath>

namespace cdnozzle {

// The start-up nozzle: M_max = 2, AAe = 1.6875, PePo_sub = 0.90876,
// PePo_NS = 0.57512.
class ShockSearch : public testing::Test {
  protected:
    ShockSearch() : model(test::calculated("2", "1")) {}
    int search(double pepo) const
    {
        int iNS = -1;
        NS_icin_iterasyon(model.state(), pepo, iNS, {});
        return iNS;
    }
    NozzleModel model;
};

TEST_F(ShockSearch, ExitPressureFallsFromTheSubsonicToTheNormalShockLimit)
{
    const FlowState& s = model.state();
    EXPECT_NEAR(exitPressureWithShockAt(s, 21, {}), 0.90875, 5e-6);
    EXPECT_NEAR(exitPressureWithShockAt(s, 100, {}), 0.57512, 5e-6);
    EXPECT_LT(exitPressureWithShockAt(s, 21, {}), s.PePo_sub);
    for (int i = 22; i <= 100; ++i) {
        ASSERT_LT(exitPressureWithShockAt(s, i, {}), exitPressureWithShockAt(s, i - 1, {})) << i;
    }
}

TEST_F(ShockSearch, StationsOfThePublishedCases)
{
    EXPECT_EQ(search(0.9), 36);
    EXPECT_EQ(search(0.8), 66);
    EXPECT_EQ(search(0.6), 96);
    EXPECT_EQ(search(0.5), 100);
    EXPECT_EQ(search(0.1), 100);
    // Between P of the first divergent station and the subsonic limit: the throat.
    EXPECT_EQ(search(0.908755), 20);
}

TEST_F(ShockSearch, AStationWhosePressureEqualsPePoDoesNotStopTheScan)
{
    const double p66 = exitPressureWithShockAt(model.state(), 66, {});
    EXPECT_EQ(search(p66), 66);
    EXPECT_EQ(search(std::nextafter(p66, 1.0)), 65);
}

TEST_F(ShockSearch, LoweringTheBackPressureNeverMovesTheShockUpstream)
{
    int previous = 20;
    for (int w = 1; w <= 1000; ++w) {
        const double pepo = (1000 - w) / 1000.0 + 0.001;
        if (pepo >= model.state().PePo_sub) continue;
        const int iNS = search(pepo);
        ASSERT_GE(iNS, previous) << pepo;
        previous = iNS;
    }
    EXPECT_EQ(previous, 100);
}

} // namespace cdnozzle
