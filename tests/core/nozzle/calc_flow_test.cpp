// SPDX-License-Identifier: MIT
// Expected values: the start-up nozzle (M_max = 2, AAe = 1.6875,
// PePo_sub = 0.908758, PePo_NS = 0.575120, PePo_OS = 0.127805) in each flow
// regime, worked by hand from the isentropic, normal- and oblique-shock
// relations.
#include "nozzle/calc_flow.h"

#include "core/test_support.h"
#include "test_names.h"
#include "text/number_text.h"

#include <cmath>
#include <vector>

namespace cdnozzle {

namespace {

const std::vector<std::string> kGeometryLines{"iMax=100",
                                              "M_max=2",
                                              "Me_sub limit=0.3722",
                                              "Pe/Po sesaltı limit=0.9088",
                                              "Pe/Po sesüstü limit(NShock)=0.5751",
                                              "Pe/Po sesüstü limit(OShock)=0.1278"};

std::vector<std::string> withShockLines(const std::string& a2, const std::string& po2)
{
    std::vector<std::string> lines = kGeometryLines;
    lines.push_back("A2*=" + a2);
    lines.push_back("Po2/Po*=" + po2);
    return lines;
}

// The limits of the start-up nozzle, exactly as the program computes them.
FlowState startUpLimits()
{
    return test::calculated("2", "1").state();
}

NozzleModel at(double pepo)
{
    return test::calculated("2", formatRoundTrip(pepo));
}

} // namespace

TEST(CalcFlow, NoFlowAtPePoOne)
{
    const NozzleModel m = at(1);
    const FlowState& s = m.state();
    EXPECT_EQ(m.result().regime, Regime::NoFlow);
    for (int i = 1; i <= 101; ++i) {
        ASSERT_EQ(s.M[i], 0);
        ASSERT_EQ(s.PiPo[i], 1);
    }
    EXPECT_EQ(s.i_NS, 100);
    EXPECT_EQ(s.Me, 0);
    EXPECT_EQ(s.PePo_e, 1);
    EXPECT_EQ(m.result().report.lines(), kGeometryLines);
    EXPECT_EQ(m.result().marks.size(), 0);
}

TEST(CalcFlow, SubsonicThroughout)
{
    const NozzleModel m = at(0.99);
    const FlowState& s = m.state();
    EXPECT_EQ(m.result().regime, Regime::SubsonicThroughout);
    EXPECT_NEAR(s.M[100], 0.11991, 5e-6);
    EXPECT_EQ(s.Me, s.M[100]);
    EXPECT_NEAR(s.PiPo[100], 0.99, 5e-6);
    EXPECT_EQ(s.PePo_e, s.PiPo[100]);
    EXPECT_EQ(s.M[101], s.M[100]);
    EXPECT_EQ(s.i_NS, 100);
    // The throat stays subsonic: the fastest station.
    EXPECT_LT(s.M[20], 1);
    for (int i = 1; i <= 100; ++i) ASSERT_LE(s.M[i], s.M[20]);
    EXPECT_EQ(m.result().report.lines(), kGeometryLines);
    EXPECT_EQ(m.result().marks.size(), 0);
}

TEST(CalcFlow, ChokedSubsonicExactlyAtTheSubsonicLimit)
{
    const NozzleModel m = at(startUpLimits().PePo_sub);
    const FlowState& s = m.state();
    EXPECT_EQ(m.result().regime, Regime::ChokedSubsonic);
    EXPECT_NEAR(s.M[20], 1, 1e-4);
    // The stations keep the inversion's stopping rule; the limit itself is
    // the exact root (0.3722445).
    EXPECT_NEAR(s.M[100], 0.37225, 5e-6);
    EXPECT_NEAR(s.Me_sub, 0.3722445, 5e-8);
    EXPECT_EQ(m.result().report.lines(), kGeometryLines);
}

struct ShockCase {
    double pepo;
    int station;
    double x;
    const char* a2;
    const char* po2;
};

class NormalShockInside : public testing::TestWithParam<ShockCase> {};

TEST_P(NormalShockInside, ShockAtTheSearchedStation)
{
    const ShockCase c = GetParam();
    const NozzleModel m = at(c.pepo);
    const FlowState& s = m.state();
    EXPECT_EQ(m.result().regime, Regime::NormalShockInside);
    EXPECT_EQ(s.i_NS, c.station);
    EXPECT_EQ(s.x[s.i_NS], c.x);
    EXPECT_EQ(m.result().report.lines(), withShockLines(c.a2, c.po2));
    // One red vertical segment through the shock station, wall to wall.
    ASSERT_EQ(m.result().marks.size(), 1);
    EXPECT_EQ(m.result().marks[0],
              (Mark{MarkColor::Red, c.x, -s.y[c.station], c.x, s.y[c.station]}));
    // Supersonic up to the shock, subsonic behind it, exit at the back pressure.
    EXPECT_GT(s.M[c.station], 1);
    EXPECT_LT(s.Me, 1);
    for (int i = c.station + 1; i <= 100; ++i) ASSERT_LT(s.M[i], 1) << i;
    EXPECT_NEAR(s.PiPo[100], c.pepo, 0.01);
    EXPECT_EQ(s.M[101], s.M[100]);
}

INSTANTIATE_TEST_SUITE_P(BackPressures, NormalShockInside,
                         testing::Values(ShockCase{0.9, 36, 1.2, "1.0073", "0.9928"},
                                         ShockCase{0.8, 66, 1.575, "1.1058", "0.9044"},
                                         ShockCase{0.6, 96, 1.95, "1.3437", "0.7442"}),
                         [](const testing::TestParamInfo<ShockCase>& info) {
                             return "PePo_" + test::caseName(formatRoundTrip(info.param.pepo));
                         });

TEST(CalcFlow, JumpValuesAtPointEight)
{
    const FlowState s = at(0.8).state();
    EXPECT_NEAR(s.Me, 0.67612, 5e-6);
    EXPECT_NEAR(s.PePo_e, 0.66583, 5e-6);
}

// Behind a normal shock standing in the exit plane: M2 of a shock at Mach 2
// (0.57735) and the back pressure, at the exit and the run-out station.
void expectJetBehindExitShock(const FlowState& s)
{
    EXPECT_EQ(s.i_NS, 100);
    EXPECT_NEAR(s.M[100], 2, 1e-5);
    EXPECT_NEAR(s.Me, 0.57735, 1e-5);
    EXPECT_EQ(s.M[101], s.Me);
    EXPECT_EQ(s.PePo_e, s.PePo);
    EXPECT_EQ(s.PiPo[101], s.PePo);
    for (int i = 21; i <= 100; ++i) ASSERT_GT(s.M[i], 1) << i;
}

TEST(CalcFlow, ExactlyAtTheNormalShockLimitTheShockSitsInTheExitUndrawn)
{
    const double pepoNS = startUpLimits().PePo_NS;
    const NozzleModel m = at(pepoNS);
    EXPECT_EQ(m.result().regime, Regime::NormalShockAtExit);
    expectJetBehindExitShock(m.state());
    EXPECT_EQ(m.result().marks.size(), 0);
    EXPECT_EQ(m.result().report.lines(), withShockLines("1.3872", "0.7209"));
}

TEST(CalcFlow, InsideTheExitShockBandTheShockIsDrawnInTheExitPlane)
{
    const NozzleModel m = at(startUpLimits().PePo_NS + 0.00005);
    const FlowState& s = m.state();
    EXPECT_EQ(m.result().regime, Regime::NormalShockAtExit);
    expectJetBehindExitShock(s);
    ASSERT_EQ(m.result().marks.size(), 1);
    EXPECT_EQ(m.result().marks[0], (Mark{MarkColor::Red, 2, -s.y[100], 2, s.y[100]}));
    EXPECT_EQ(m.result().report.lines(), withShockLines("1.3872", "0.7209"));
}

struct BandCase {
    const char* me;
    const char* pepo; // empty: the design point PePo_OS
    Regime regime;
};

class RegimeAgreesWithTheLimits : public testing::TestWithParam<BandCase> {};

// The regime follows the limit ratios, also where they come close to each
// other (design Mach number near 1) or close to 0 (design Mach number
// near 20 and above), and no station of the divergent part falls subsonic
// without a shock.
TEST_P(RegimeAgreesWithTheLimits, NoSubsonicStationWithoutAShock)
{
    const BandCase c = GetParam();
    std::string pepo = c.pepo;
    if (pepo.empty()) pepo = formatRoundTrip(test::calculated(c.me, "1").state().PePo_OS);
    const NozzleModel m = test::calculated(c.me, pepo);
    const FlowState& s = m.state();
    EXPECT_EQ(regimeName(m.result().regime), regimeName(c.regime));
    EXPECT_EQ(s.i_NS, 100);
    for (int i = 21; i <= 100; ++i) ASSERT_GE(s.M[i], 1) << i;
    if (c.regime == Regime::ExitExpansion) {
        EXPECT_EQ(s.M[101], s.Me);
        EXPECT_GE(s.Me, s.M_max * (1 - 1e-12));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RegimeAgreesWithTheLimits,
                         testing::Values(BandCase{"20", "1e-12", Regime::ExitExpansion},
                                         BandCase{"20", "", Regime::ExitExpansion},
                                         BandCase{"25", "1e-8", Regime::ExitExpansion},
                                         BandCase{"1.05", "0.55735", Regime::ObliqueExitShocks},
                                         BandCase{"1.05", "0.5574", Regime::ObliqueExitShocks},
                                         // Between the normal-shock limit 0.53438 and the exact
                                         // subsonic limit 0.53443: no subsonic flow.
                                         BandCase{"1.01", "0.5342", Regime::ObliqueExitShocks}),
                         [](const testing::TestParamInfo<BandCase>& info) {
                             const std::string pepo = *info.param.pepo ? info.param.pepo : "design";
                             return "Me_Sup_" + test::caseName(info.param.me) + "_PePo_" +
                                    test::caseName(pepo);
                         });

TEST(CalcFlow, ExitShockBandAtADesignMachNumberOfTwenty)
{
    const FlowState limits = test::calculated("20", "1").state();
    ASSERT_LT(limits.PePo_NS, 0.0001);
    const NozzleModel m = test::calculated("20", formatRoundTrip(limits.PePo_NS));
    EXPECT_EQ(m.result().regime, Regime::NormalShockAtExit);
    EXPECT_LT(m.state().Me, 1);
}

TEST(CalcFlow, NearMachOneTheExitStageNeverRelabelsASubsonicFlow)
{
    // Design Mach 1.01: the exit-shock band reaches above the subsonic limit.
    const FlowState limits = test::calculated("1.01", "1").state();
    ASSERT_GT(limits.PePo_NS + kExitShockBand, limits.PePo_sub);
    const NozzleModel m =
        test::calculated("1.01", formatRoundTrip(std::nextafter(limits.PePo_sub, 1.0)));
    EXPECT_EQ(m.result().regime, Regime::SubsonicThroughout);
    EXPECT_LT(m.state().Me, 1);
    EXPECT_EQ(m.state().M[101], m.state().M[100]);
    EXPECT_EQ(m.result().marks.size(), 0);
}

TEST(CalcFlow, AConvergentNozzleIsAccepted)
{
    for (const char* pepo : {"0.9", "0.5283", "0.3"}) {
        const NozzleModel m = test::calculated("1", pepo);
        for (int i = 1; i <= 101; ++i) ASSERT_TRUE(std::isfinite(m.state().M[i])) << pepo << i;
        EXPECT_LE(m.state().M[20], 1 + 1e-9);
    }
}

TEST(CalcFlow, ObliqueExitShocksAtPointFive)
{
    const NozzleModel m = at(0.5);
    const FlowState& s = m.state();
    EXPECT_EQ(m.result().regime, Regime::ObliqueExitShocks);
    EXPECT_EQ(s.i_NS, 100);
    EXPECT_NEAR(s.Me, 0.82456, 5e-6);
    EXPECT_EQ(s.M[101], s.Me);
    EXPECT_EQ(s.M[100], 2);
    EXPECT_EQ(s.PiPo[100], s.PePo_OS);
    EXPECT_EQ(s.PePo_e, 0.5);
    EXPECT_EQ(s.PiPo[101], 0.5);
    EXPECT_EQ(m.result().report.lines(), withShockLines("1.3872", "0.7209"));
    const Marks& marks = m.result().marks;
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[0].color, MarkColor::Red);
    EXPECT_EQ(marks[0].x1, 2);
    EXPECT_NEAR(marks[0].y1, -0.84375, 1e-12);
    EXPECT_NEAR(marks[0].x2, 2.59889, 5e-6);
    EXPECT_NEAR(marks[0].y2, 0.73390, 5e-6);
    EXPECT_NEAR(marks[1].y1, 0.84375, 1e-12);
    EXPECT_NEAR(marks[1].x2, 2.59889, 5e-6);
    EXPECT_NEAR(marks[1].y2, -0.73390, 5e-6);
    // beta = 69.213 deg: the slope of the shock line.
    const double beta = std::atan2(marks[0].y2 - marks[0].y1, marks[0].x2 - marks[0].x1);
    EXPECT_NEAR(beta * 180 / M_PI, 69.213, 5e-4);
}

TEST(CalcFlow, WeakObliqueShockKeepsTheJetSupersonic)
{
    const NozzleModel m = at(0.3);
    EXPECT_EQ(m.result().regime, Regime::ObliqueExitShocks);
    EXPECT_NEAR(m.state().Me, 1.38869, 5e-6);
    const Mark& mark = m.result().marks[0];
    EXPECT_NEAR(std::atan2(mark.y2 - mark.y1, mark.x2 - mark.x1) * 180 / M_PI, 47.220, 5e-4);
}

TEST(CalcFlow, DesignConditionIsAnExpansionOfZeroStrength)
{
    const NozzleModel m = at(startUpLimits().PePo_OS);
    const FlowState& s = m.state();
    EXPECT_EQ(m.result().regime, Regime::ExitExpansion);
    EXPECT_NEAR(s.Me, 2, 1e-12);
    const Marks& marks = m.result().marks;
    ASSERT_EQ(marks.size(), 4);
    for (const Mark& mark : marks) EXPECT_EQ(mark.color, MarkColor::Blue);
    EXPECT_NEAR(marks[0].x2, 3.46142, 5e-6);
    EXPECT_NEAR(marks[0].y2, 0, 1e-12);
    EXPECT_NEAR(marks[2].x2, marks[0].x2, 1e-9);
    EXPECT_NEAR(marks[3].y2, marks[1].y2, 1e-9);
}

TEST(CalcFlow, ExitExpansionAtPointOne)
{
    const NozzleModel m = at(0.1);
    const FlowState& s = m.state();
    EXPECT_EQ(m.result().regime, Regime::ExitExpansion);
    EXPECT_NEAR(s.Me, 2.15719, 5e-6);
    EXPECT_EQ(s.M[100], 2);
    EXPECT_EQ(s.M[101], s.Me);
    EXPECT_EQ(s.PePo_e, 0.1);
    EXPECT_EQ(m.result().report.lines(), withShockLines("1.3872", "0.7209"));
    const Marks& marks = m.result().marks;
    ASSERT_EQ(marks.size(), 4);
    const double ends[4][2] = {{3.46142, 0}, {3.46142, 0}, {3.49523, -0.06148}, {3.49523, 0.06148}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(marks[i].x1, 2);
        EXPECT_NEAR(std::fabs(marks[i].y1), 0.84375, 1e-12);
        EXPECT_NEAR(marks[i].x2, ends[i][0], 5e-6) << i;
        EXPECT_NEAR(marks[i].y2, ends[i][1], 5e-6) << i;
    }
}

TEST(CalcFlow, ObliqueShockOneRoundingBelowTheNormalShockLimitIsNormal)
{
    // Found by the random-input test: the shock-angle sine came out a hair
    // above 1 and the exit values turned NaN.
    const NozzleModel m = test::calculated("5.050464665922652", "0.05274209969246506", "0");
    EXPECT_EQ(m.result().regime, Regime::ObliqueExitShocks);
    EXPECT_TRUE(std::isfinite(m.state().Me));
    EXPECT_NEAR(m.result().waves.shockAngle, M_PI / 2, 1e-7);
    ASSERT_EQ(m.result().marks.size(), 2);
    EXPECT_EQ(m.result().marks[0].x2, m.result().marks[0].x1); // vertical, across the exit
}

TEST(CalcFlow, RunOutStationCarriesTheJetInEveryRegime)
{
    for (double pepo : {0.99, 0.8, 0.5, 0.1}) {
        const FlowState s = at(pepo).state();
        EXPECT_EQ(s.x[101], 2.1);
        EXPECT_TRUE(std::isfinite(s.M[101]) && std::isfinite(s.PiPo[101]));
        EXPECT_GT(s.M[101], 0);
    }
}

} // namespace cdnozzle
