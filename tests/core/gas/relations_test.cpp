// SPDX-License-Identifier: MIT
// Expected values from NACA Report 1135 (isentropic and normal-shock tables,
// k = 1.4), quoted to the tables' five or six figures.
#include "gas/area_mach.h"
#include "gas/isentropic.h"
#include "gas/normal_shock.h"
#include "nozzle/flow_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cdnozzle {

class Relations : public testing::Test {
  protected:
    void SetUp() override { Form_Load(s, InputTexts{}); }
    FlowState s;
};

struct IsentropicRow {
    double M, areaRatio, pressureRatio; // A/A*, p/p0
};

TEST_F(Relations, IsentropicTableOfNaca1135)
{
    for (const IsentropicRow row :
         {IsentropicRow{0.5, 1.33984, 0.84302}, IsentropicRow{2, 1.68750, 0.12780},
          IsentropicRow{3, 4.23457, 0.02722}}) {
        EXPECT_NEAR(AAfM(s, row.M), row.areaRatio, 1e-5) << "M = " << row.M;
        EXPECT_NEAR(1 / PoP(s, row.M), row.pressureRatio, 1e-5) << "M = " << row.M;
    }
    EXPECT_EQ(AAfM(s, 1), 1);
    EXPECT_EQ(PoP(s, 0), 1);
    EXPECT_NEAR(PoP(s, 1), 1.892929, 1e-6);
    // Subsonic and supersonic Mach numbers share an area ratio.
    EXPECT_NEAR(AAfM(s, 0.37225), 1.6875, 1e-4);
}

struct ShockRow {
    double M1, M2, p2p1, p02p01;
};

TEST_F(Relations, NormalShockTableOfNaca1135)
{
    for (const ShockRow row :
         {ShockRow{1.5, 0.70109, 2.45833, 0.92979}, ShockRow{2, 0.57735, 4.5, 0.72087},
          ShockRow{3, 0.47519, 10.33333, 0.32834}}) {
        const double M2 = NS(s, row.M1);
        EXPECT_NEAR(M2, row.M2, 1e-5) << "M1 = " << row.M1;
        EXPECT_NEAR(P2P1fM1(s, row.M1), row.p2p1, 1e-5) << "M1 = " << row.M1;
        // p02/p01 as the callers form it.
        EXPECT_NEAR(PoP(s, M2) * P2P1fM1(s, row.M1) / PoP(s, row.M1), row.p02p01, 1e-5);
    }
    EXPECT_EQ(NS(s, 1), 1);
    EXPECT_EQ(P2P1fM1(s, 1), 1);
}

TEST_F(Relations, IsentropicMachOfPressureInvertsPoP)
{
    for (double M : {0.1, 0.5, 1.0, 2.0, 3.5}) {
        EXPECT_NEAR(isentropicMachOfPressure(s, 1 / PoP(s, M)), M, 1e-12);
    }
}

struct InversionCase {
    double AAr;
    std::string_view rejim;
    double M;
    double tolerance;
};

TEST_F(Relations, InversionReturnsTheIterateOfTheStoppingRule)
{
    for (const InversionCase c :
         {InversionCase{1.6875, kSesAlti, 0.37225, 5e-6},
          InversionCase{1.6875, kSesUstu, 1.99999, 5e-6},
          InversionCase{1.0001, kSesAlti, 0.98962, 5e-6},
          InversionCase{1.0001, kSesUstu, 1.01043, 5e-6}, InversionCase{1, kSesAlti, 1, 0},
          InversionCase{1, kSesUstu, 1, 0},
          // Barely above 1: the first update already stops it.
          InversionCase{1.000005, kSesAlti, 1 / 1.000005, 0}}) {
        int calls = 0;
        const double M = M_iter(s, c.AAr, 1, c.rejim, [&](const std::string&) { ++calls; });
        EXPECT_NEAR(M, c.M, c.tolerance) << c.AAr << ' ' << c.rejim;
        EXPECT_EQ(calls, 0);
    }
    // The supersonic result of 1.6875 stops short of the exact root 2.
    EXPECT_LT(M_iter(s, 1.6875, 1, kSesUstu, {}), 2);
}

TEST_F(Relations, InversionConvergesOverTheWholeRangeOfAreaRatios)
{
    std::vector<std::string> messages;
    const NotConvergedHandler collect = [&](const std::string& m) { messages.push_back(m); };
    for (double AAr = 1; AAr < 1e6; AAr = AAr * 1.001 + 1e-6) {
        const double sub = M_iter(s, AAr, 1, kSesAlti, collect);
        const double sup = M_iter(s, AAr, 1, kSesUstu, collect);
        ASSERT_LE(sub, 1);
        ASSERT_GE(sup, 1);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Relations, UnknownRegimeWordReportsAndReturnsOne)
{
    for (std::string_view word : {"sesaltı", "SesAlti", "SesUstu", "", "SesÜstü "}) {
        std::vector<std::string> messages;
        const double M =
            M_iter(s, 1.6875, 1, word, [&](const std::string& m) { messages.push_back(m); });
        EXPECT_EQ(M, 1) << word;
        ASSERT_EQ(messages.size(), 1u) << word;
        EXPECT_EQ(messages[0], "iterasyon 500 adımda yakınsamadı");
    }
    // Without a handler the calculation still goes on.
    EXPECT_EQ(M_iter(s, 2, 1, "x", {}), 1);
}

} // namespace cdnozzle
