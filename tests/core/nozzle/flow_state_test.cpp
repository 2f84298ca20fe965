// SPDX-License-Identifier: MIT
#include "nozzle/flow_state.h"

#include <gtest/gtest.h>

namespace cdnozzle {

TEST(FormLoad, ConstantsComeOutOfTheirEvaluationOrderBitForBit)
{
    FlowState s;
    Form_Load(s, InputTexts{});
    EXPECT_EQ(s.k, 1.4);
    EXPECT_EQ(s.kp1_2km1, 3.0000000000000004); // not 3
    EXPECT_EQ(s.km1_2, 0.19999999999999996);
    EXPECT_EQ(s.kp1_2km1_inv, 0.33333333333333326);
    EXPECT_EQ(s.k2_kp1, 2 / 2.4);
    EXPECT_EQ(s.N_conv, 20);
    EXPECT_EQ(s.N_div, 80);
    EXPECT_EQ(s.N_tot, 100);
}

TEST(FormLoad, ReadsTheBoxesAndComputesNothingElse)
{
    FlowState s;
    Form_Load(s, InputTexts{"2.5x", "", " 0.8"});
    EXPECT_EQ(s.M_max, 2.5);
    EXPECT_EQ(s.AA_max, 0);
    EXPECT_EQ(s.PePo, 0.8);
    EXPECT_EQ(s.i_NS, 0);
    EXPECT_EQ(s.PePo_sub, 0);
    for (int i = 0; i < kStationCapacity; ++i) {
        ASSERT_EQ(s.x[i], 0);
        ASSERT_EQ(s.M[i], 0);
        ASSERT_EQ(s.PiPo[i], 0);
    }
}

} // namespace cdnozzle
