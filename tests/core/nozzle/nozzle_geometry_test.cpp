// SPDX-License-Identifier: MIT
#include "nozzle/nozzle_geometry.h"

#include "core/test_support.h"
#include "gas/isentropic.h"
#include "gas/normal_shock.h"
#include "nozzle/limit_curves.h"
#include "test_names.h"

#include <vector>

namespace cdnozzle {

namespace {

FlowState geometryOf(const std::string& me, const std::string& amax, Report* report = nullptr,
                     double k = kAirK)
{
    FlowState s;
    const InputTexts texts{me, amax, "1"};
    Form_Load(s, texts, k);
    Report local;
    Lule_Geo(s, texts, report ? *report : local);
    return s;
}

} // namespace

TEST(StationGrid, StartUpNozzle)
{
    const FlowState s = geometryOf("2", "3");
    EXPECT_EQ(s.x[1], 0.05);
    EXPECT_EQ(s.x[20], 1);
    EXPECT_EQ(s.x[21], 1.0125);
    EXPECT_EQ(s.x[100], 2);
    EXPECT_EQ(s.x[101], 2.1);
    EXPECT_EQ(s.y[20], 0.5);
    EXPECT_EQ(s.AA[20], 1);
    EXPECT_NEAR(s.y[100], 0.84375, 1e-15);
    EXPECT_NEAR(s.AA[100], 1.6875, 1e-15);
    EXPECT_NEAR(s.AA[1], 11.5914, 1e-4);
    EXPECT_EQ(s.AA[0], 0);
    EXPECT_EQ(s.y[101], 0);
    EXPECT_EQ(s.AA[101], 0);
    EXPECT_EQ(s.AAe, s.AA[100]);
    EXPECT_EQ(s.i_NS, 1);
    // The throat is the narrowest station.
    for (int i = 1; i <= 100; ++i) ASSERT_GE(s.AA[i], 1) << i;
}

TEST(StationGrid, SonicDesignHasAConstantDivergentPart)
{
    const FlowState s = geometryOf("1", "3");
    for (int i = 20; i <= 100; ++i) {
        ASSERT_EQ(s.x[i], 1) << i;
        ASSERT_EQ(s.AA[i], 1) << i;
    }
}

TEST(StationGrid, AmaxChangesNothingButItself)
{
    FlowState a = geometryOf("2.3", "3");
    FlowState b = geometryOf("2.3", "-7.5");
    EXPECT_EQ(b.AA_max, -7.5);
    b.AA_max = a.AA_max;
    EXPECT_EQ(a, b);
}

TEST(StationGrid, ASmallerDesignOverwritesEveryEntryOfALargerOne)
{
    FlowState s = geometryOf("4", "3");
    Report report;
    Lule_Geo(s, InputTexts{"1.5", "3", "1"}, report);
    EXPECT_EQ(s, geometryOf("1.5", "3"));
}

struct ReportCase {
    const char* me;
    std::vector<std::string> lines;
};

class GeometryReport : public testing::TestWithParam<ReportCase> {};

TEST_P(GeometryReport, SixLinesOpenTheReport)
{
    Report report;
    geometryOf(GetParam().me, "3", &report);
    EXPECT_EQ(report.lines(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Designs, GeometryReport,
    testing::Values(
        ReportCase{"2",
                   {"iMax=100", "M_max=2", "Me_sub limit=0.3722", "Pe/Po sesaltı limit=0.9088",
                    "Pe/Po sesüstü limit(NShock)=0.5751", "Pe/Po sesüstü limit(OShock)=0.1278"}},
        ReportCase{"3",
                   {"iMax=100", "M_max=3", "Me_sub limit=0.1382", "Pe/Po sesaltı limit=0.9867",
                    "Pe/Po sesüstü limit(NShock)=0.2813", "Pe/Po sesüstü limit(OShock)=0.0272"}},
        ReportCase{"2.5",
                   {"iMax=100", "M_max=2.5", "Me_sub limit=0.2263", "Pe/Po sesaltı limit=0.965",
                    "Pe/Po sesüstü limit(NShock)=0.417", "Pe/Po sesüstü limit(OShock)=0.0585"}},
        ReportCase{"1",
                   {"iMax=100", "M_max=1", "Me_sub limit=1", "Pe/Po sesaltı limit=0.5283",
                    "Pe/Po sesüstü limit(NShock)=0.5283", "Pe/Po sesüstü limit(OShock)=0.5283"}},
        // Below sqrt(1/7) the normal-shock factor and its limit are negative.
        ReportCase{"0.3",
                   {"iMax=100", "M_max=0.3", "Me_sub limit=0.3", "Pe/Po sesaltı limit=0.9395",
                    "Pe/Po sesüstü limit(NShock)=-0.0579", "Pe/Po sesüstü limit(OShock)=0.9395"}}),
    [](const testing::TestParamInfo<ReportCase>& info) {
        return "Me_Sup_" + test::caseName(info.param.me);
    });

TEST(GeometryReport, LimitsOfTheStartUpNozzle)
{
    const FlowState s = geometryOf("2", "3");
    EXPECT_NEAR(s.PePo_sub, 0.908758, 1e-6);
    EXPECT_NEAR(s.PePo_NS, 0.575120, 1e-6);
    EXPECT_NEAR(s.PePo_OS, 0.127805, 1e-6);
    EXPECT_LT(s.PePo_OS, s.PePo_NS);
    EXPECT_LT(s.PePo_NS, s.PePo_sub);
}

TEST(GeometryReport, ASecondRunGivesTheSameStateAndLines)
{
    Report first, second;
    FlowState s = geometryOf("2.7", "1.5", &first);
    const FlowState once = s;
    Lule_Geo(s, InputTexts{"2.7", "1.5", "1"}, second);
    EXPECT_EQ(s, once);
    EXPECT_EQ(first.lines(), second.lines());
}

// The three limit flows drawn behind the flow, for every gas: the choked
// flow is subsonic at every station, the design flow supersonic from the
// first station behind the throat, both on the station's area ratio; the
// jet behind a normal shock in the exit plane leaves at Mach NS(M_max) and
// the normal-shock limit.
TEST(LimitCurves, EachIsTheIsentropicFlowOfItsLimit)
{
    for (double k : {1.2, 1.4, 5.0 / 3.0}) {
        const FlowState s = geometryOf("2.5", "3", nullptr, k);
        const LimitCurves c = limitCurves(s);
        EXPECT_EQ(c.choked.PePo, s.PePo_sub);
        EXPECT_EQ(c.exitShock.PePo, s.PePo_NS);
        EXPECT_EQ(c.design.PePo, s.PePo_OS);
        for (int i = 1; i <= s.N_tot; ++i) {
            const bool divergent = i > s.N_conv;
            EXPECT_LE(c.choked.M[i], 1) << k << " station " << i;
            EXPECT_EQ(c.design.M[i] > 1, divergent) << k << " station " << i;
            EXPECT_EQ(c.exitShock.M[i], c.design.M[i]);
            for (const LimitFlow* f : {&c.choked, &c.design}) {
                EXPECT_NEAR(AAfM(s, f->M[i]), s.AA[i], 1e-12 * s.AA[i]) << k << " station " << i;
                EXPECT_EQ(f->PiPo[i], 1 / PoP(s, f->M[i]));
            }
        }
        const int e = s.N_tot;
        EXPECT_NEAR(c.design.M[e], 2.5, 1e-12);
        EXPECT_EQ(c.design.Mjet, c.design.M[e]);
        EXPECT_EQ(c.choked.Mjet, c.choked.M[e]);
        EXPECT_NEAR(c.exitShock.Mjet, NS(s, 2.5), 1e-12) << k;
        EXPECT_LT(c.exitShock.Mjet, 1);
        EXPECT_EQ(c.exitShock.PiPoJet, s.PePo_NS);
    }
}

} // namespace cdnozzle
