// SPDX-License-Identifier: MIT
// The grid-free shock position. Reference: for a nozzle of exit area ratio
// 1.6875 (design Mach 2) and pe/p01 = 0.8 the shock stands where
// A/At = 1.23155, the classic textbook worked example, i.e. at Mach 1.5764.
#include "nozzle/exact_shock.h"

#include "core/test_support.h"
#include "gas/isentropic.h"
#include "text/number_text.h"

namespace cdnozzle {

TEST(ExactShock, PublishedCaseForDesignMachTwo)
{
    const NozzleModel m = test::calculated("2", "0.8");
    const auto exact = exactShockPosition(m.state(), 0.8);
    ASSERT_TRUE(exact);
    EXPECT_NEAR(exact->areaRatio, 1.23155, 5e-6);
    EXPECT_EQ(formatGeneral(roundHalfEven4(exact->x)), "1.5764");
    // The grid puts it at the station just before: x = 1.575.
    EXPECT_LT(m.state().x[m.state().i_NS], exact->x);
    EXPECT_GT(m.state().x[m.state().i_NS + 1], exact->x);
}

TEST(ExactShock, OnlyBetweenTheThroatAndTheExit)
{
    const NozzleModel m = test::calculated("2", "1");
    EXPECT_FALSE(exactShockPosition(m.state(), 0.95)); // above the subsonic limit
    EXPECT_FALSE(exactShockPosition(m.state(), 0.5));  // below the normal-shock limit
    const FlowState& s = m.state();
    const auto atExit = exactShockPosition(s, s.PePo_NS + 1e-9);
    ASSERT_TRUE(atExit);
    EXPECT_NEAR(atExit->x, 2, 1e-4);
    EXPECT_FALSE(exactShockPosition(test::calculated("1", "1").state(), 0.7));
}

TEST(ExactShock, AreaRatioInversionToFullPrecision)
{
    FlowState s;
    Form_Load(s, InputTexts{});
    for (double M : {0.01, 0.2, 0.37225, 0.9, 0.999, 1.001, 1.5, 2.0, 5.0, 40.0}) {
        const double a = AAfM(s, M);
        EXPECT_NEAR(machOfAreaRatio(s, a, M > 1), M, 1e-12 * M + 1e-9) << M;
    }
    EXPECT_EQ(machOfAreaRatio(s, 1, true), 1);
    EXPECT_EQ(machOfAreaRatio(s, 0.5, false), 1);
}

} // namespace cdnozzle
