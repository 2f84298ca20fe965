// SPDX-License-Identifier: MIT
// Other gases. The relations against their closed forms, evaluated here
// independently in long double, for k = 1.2, 1.3 and 5/3; and identities a
// correct solution satisfies whatever the gas: the mass flow is the same at
// every station, the shock keeps T0 and a* (V1 V2 = a*^2) and loses
// stagnation pressure as A1*/A2*, and a subsonic jet leaves at the back
// pressure.
#include "gas/area_mach.h"
#include "gas/isentropic.h"
#include "gas/normal_shock.h"
#include "model/nozzle_model.h"
#include "results/engine.h"
#include "results/flow_figures.h"
#include "test_names.h"
#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace cdnozzle {

namespace {

using L = long double;

L areaRatio(L k, L M)
{
    return 1 / M * std::pow(2 / (k + 1) * (1 + (k - 1) / 2 * M * M), (k + 1) / (2 * (k - 1)));
}
L stagnationOverStatic(L k, L M)
{
    return std::pow(1 + (k - 1) / 2 * M * M, k / (k - 1));
}

NozzleModel solved(double k, const std::string& me, const std::string& pepo)
{
    const InputTexts texts{me, "3", pepo};
    NozzleModel model(texts, k);
    const auto refusal = model.calculate(texts);
    EXPECT_FALSE(refusal) << *refusal;
    return model;
}

const double kGasesTested[] = {1.2, 1.3, 5.0 / 3.0};

} // namespace

TEST(GasRelations, ClosedFormsForOtherGases)
{
    for (double k : kGasesTested) {
        const Gas g = gasOf(k);
        for (double M : {0.2, 0.6, 1.0, 1.5, 2.0, 3.5}) {
            EXPECT_NEAR(AAfM(g, M), areaRatio(k, M), 1e-13 * areaRatio(k, M)) << k << " " << M;
            EXPECT_NEAR(PoP(g, M), stagnationOverStatic(k, M), 1e-13 * stagnationOverStatic(k, M));
            EXPECT_NEAR(isentropicMachOfPressure(g, 1 / PoP(g, M)), M, 1e-12 * M);
            if (M > 1) {
                const L M2 = std::sqrt((1 + (k - 1) / 2 * M * M) / (k * M * M - (k - 1) / 2));
                EXPECT_NEAR(NS(g, M), M2, 1e-13) << k << " " << M;
                EXPECT_NEAR(P2P1fM1(g, M), 1 + 2 * k / (k + 1) * (M * M - 1), 1e-12);
                // The inversion finds both roots of the area ratio.
                EXPECT_NEAR(M_iter(g, AAfM(g, M), 1, kSesUstu, {}), M, 2e-4 * M);
            } else if (M < 1) {
                EXPECT_NEAR(M_iter(g, AAfM(g, M), 1, kSesAlti, {}), M, 2e-4);
            }
        }
    }
}

TEST(GasRelations, LimitsOfADesignMachTwoNozzle)
{
    for (double k : kGasesTested) {
        const FlowState s = solved(k, "2", "1").state();
        const L design = 1 / stagnationOverStatic(k, 2);
        EXPECT_NEAR(s.PePo_OS, design, 1e-14) << k;
        EXPECT_NEAR(s.PePo_NS, design * (1 + 2 * k / (k + 1) * 3), 1e-14) << k;
        EXPECT_NEAR(s.AAe, areaRatio(k, 2), 1e-12);
        // The subsonic limit: the subsonic root of the exit area ratio.
        EXPECT_NEAR(areaRatio(k, s.Me_sub), s.AAe, 1e-14 * s.AAe);
        EXPECT_NEAR(s.PePo_sub, 1 / stagnationOverStatic(k, s.Me_sub), 1e-14);
    }
}

TEST(GasIdentities, EveryRegimeOfEveryGas)
{
    int states = 0;
    for (double k : {1.2, 1.3, 1.4, 5.0 / 3.0}) {
        for (const char* me : {"1.5", "2", "3"}) {
            const FlowState limits = solved(k, me, "1").state();
            const double pressures[] = {0.999,
                                        (1 + limits.PePo_sub) / 2,
                                        limits.PePo_sub,
                                        (limits.PePo_sub + limits.PePo_NS) / 2,
                                        limits.PePo_NS + 0.00005,
                                        (limits.PePo_NS + limits.PePo_OS) / 2,
                                        limits.PePo_OS,
                                        limits.PePo_OS / 2};
            for (double pepo : pressures) {
                const NozzleModel m = solved(k, me, formatRoundTrip(pepo));
                const FlowState& s = m.state();
                const Regime regime = m.result().regime;
                const std::string where = "k " + formatRoundTrip(k) + ", Me_Sup " + me +
                                          ", Pe/Po " + formatRoundTrip(pepo);
                ++states;
                // Mass flux A p M / sqrt(T/T0), over the choked throat's.
                const double sonic = 1 / PoP(s, 1) / std::sqrt(stationQuantities(s, 1, 0).T_T0);
                const NozzleFigures f = nozzleFigures(s, m.result());
                // The thrust is its two parts, the pressure part (pe - pb) Ae.
                EXPECT_NEAR(f.C_F, f.C_F_momentum + f.C_F_pressure, 1e-14) << where;
                EXPECT_NEAR(f.C_F_pressure, (f.pe_pb - 1) * s.PePo * s.AAe, 1e-12) << where;
                EXPECT_LE(f.mdot_ratio, 1) << where;
                for (int i = 1; i <= s.N_tot; ++i) {
                    const StationQuantities q = stationQuantities(s, s.M[i], s.PiPo[i]);
                    const double flux = s.AA[i] * s.PiPo[i] * s.M[i] / std::sqrt(q.T_T0) / sonic;
                    ASSERT_NEAR(flux, f.mdot_ratio, 2e-4) << where << ", station " << i;
                }
                if (regime == Regime::NormalShockInside || regime == Regime::NormalShockAtExit) {
                    const int i = s.i_NS;
                    const double M1 = s.M[i], M2 = s.Me;
                    // V1 V2 = a*^2: T0 and a* are the same on both sides.
                    EXPECT_NEAR(stationQuantities(s, M1, 0).V_astar *
                                    stationQuantities(s, M2, 0).V_astar,
                                1, 1e-12)
                        << where;
                    if (regime == Regime::NormalShockInside) {
                        // p02/p01 = A1*/A2*, the sonic areas of either side.
                        const double r0 = s.PePo_e * PoP(s, M2);
                        const double A1 = s.AA[i] / AAfM(s, M1), A2 = s.AA[i] / AAfM(s, M2);
                        EXPECT_NEAR(r0, A1 / A2, 1e-12) << where;
                    }
                }
                if (regime == Regime::SubsonicThroughout || regime == Regime::ChokedSubsonic) {
                    EXPECT_NEAR(s.PiPo[s.N_tot], s.PePo, 1e-4) << where;
                    EXPECT_NEAR(f.pe_pb, 1, 1e-4) << where;
                }
                if (regime == Regime::ExitExpansion) {
                    EXPECT_GE(f.pe_pb, 1 - 1e-12) << where; // under-expanded
                }
                if (regime == Regime::ObliqueExitShocks) {
                    EXPECT_LT(f.pe_pb, 1) << where; // over-expanded
                    // The oblique-shock relations of this gas: the normal
                    // component M1 sin(beta) jumps the pressure to the back
                    // pressure, theta follows from beta, and the normal
                    // component behind is M2 sin(beta - theta).
                    const L b = m.result().waves.shockAngle, th = m.result().waves.deflection;
                    const L M1 = s.M_max, Mn1 = M1 * std::sin(b);
                    EXPECT_NEAR(1 + 2 * k / (k + 1) * (Mn1 * Mn1 - 1), s.PePo / s.PePo_OS, 1e-9)
                        << where;
                    const L tanTheta =
                        2 / std::tan(b) * (Mn1 * Mn1 - 1) / (M1 * M1 * (k + std::cos(2 * b)) + 2);
                    EXPECT_NEAR(std::tan(th), tanTheta, 1e-9) << where;
                    const L Mn2 =
                        std::sqrt((1 + (k - 1) / 2 * Mn1 * Mn1) / (k * Mn1 * Mn1 - (k - 1) / 2));
                    EXPECT_NEAR(s.Me * std::sin(b - th), Mn2, 1e-9) << where;
                    // The largest attached deflection is the top of this
                    // gas's theta-beta curve, where its slope vanishes; the
                    // strong shocks begin at the back pressure of that angle.
                    const ExitWaves& w = m.result().waves;
                    const auto theta = [&](L beta) {
                        const L n = M1 * std::sin(beta);
                        return std::atan(2 / std::tan(beta) * (n * n - 1) /
                                         (M1 * M1 * (k + std::cos(2 * beta)) + 2));
                    };
                    const L top = w.maxDeflectionAngle, h = 1e-5;
                    EXPECT_NEAR(theta(top), w.maxDeflection, 1e-12) << where;
                    EXPECT_NEAR((theta(top + h) - theta(top - h)) / (2 * h), 0, 1e-6) << where;
                    const L Mn = M1 * std::sin(top);
                    EXPECT_NEAR(s.PePo_OS * (1 + 2 * k / (k + 1) * (Mn * Mn - 1)), w.strongFrom,
                                1e-12)
                        << where;
                }
                if (regime == Regime::ExitExpansion) {
                    // The jet expands isentropically to the back pressure and
                    // turns by the difference of the Prandtl-Meyer angles.
                    const L Me = s.Me, c = std::sqrt((k + 1) / (k - 1));
                    EXPECT_NEAR(1 / stagnationOverStatic(k, Me), s.PePo, 1e-12) << where;
                    auto nu = [&](L M) {
                        return c * std::atan(std::sqrt(M * M - 1) / c) -
                               std::atan(std::sqrt(M * M - 1));
                    };
                    EXPECT_NEAR(m.result().waves.nuJet - m.result().waves.nuExit,
                                nu(Me) - nu(s.M_max), 1e-12)
                        << where;
                }
            }
        }
    }
    EXPECT_EQ(states, 96);
}

// The subsonic limit is the exact subsonic root of the exit area ratio for
// every design Mach number and gas, so it always lies above the
// normal-shock limit (their gap shrinks as (M - 1)^2 towards Mach 1), and a
// back pressure just above it never gives more than the choked mass flow
// or a supersonic throat.
TEST(GasIdentities, SubsonicLimitIsExactAndAboveTheNormalShockLimit)
{
    for (double k : {1.05, 1.2, 1.4, 5.0 / 3.0}) {
        for (const char* me : {"1.0001", "1.001", "1.01", "1.1", "2", "7", "30", "100"}) {
            const FlowState s = solved(k, me, "1").state();
            const std::string where = "k " + formatRoundTrip(k) + ", Me_Sup " + me;
            EXPECT_LT(s.Me_sub, 1) << where;
            EXPECT_NEAR(areaRatio(k, s.Me_sub), areaRatio(k, s.M_max), 1e-13 * s.AAe) << where;
            EXPECT_GT(s.PePo_sub, s.PePo_NS) << where;
            if (s.PePo_sub >= 1) continue; // the limit is 1 to the last bit
            const NozzleModel above =
                solved(k, me, formatRoundTrip(std::nextafter(s.PePo_sub, 1.0)));
            EXPECT_EQ(above.result().regime, Regime::SubsonicThroughout) << where;
            EXPECT_LE(nozzleFigures(above.state(), above.result()).mdot_ratio, 1) << where;
            EXPECT_LE(above.state().M[above.state().N_conv], 1 + 1e-12) << where;
        }
    }
}

struct SubsonicJetCase {
    double k;
    const char* me;
    const char* pepo;
    Regime regime;
    double C_F;       // of the continuous solution, from a 40-digit model
    double tolerance; // relative, as many digits as it was given with
};

class SubsonicJetThrust : public testing::TestWithParam<SubsonicJetCase> {};

// A subsonic jet leaves at the back pressure: no pressure thrust, pe = pb,
// and the momentum of the continuous solution's exit Mach number, not of
// the grid station behind which the shock was snapped (whose error Ae/At
// multiplies: C_F 7.6 instead of 0.00175 at Me_Sup 10).
TEST_P(SubsonicJetThrust, LeavesAtTheBackPressure)
{
    const SubsonicJetCase c = GetParam();
    const NozzleModel m = solved(c.k, c.me, c.pepo);
    EXPECT_EQ(regimeName(m.result().regime), regimeName(c.regime));
    const NozzleFigures f = nozzleFigures(m.state(), m.result());
    EXPECT_EQ(f.pe_pb, 1);
    EXPECT_EQ(f.C_F_pressure, 0);
    EXPECT_NEAR(f.C_F, c.C_F, c.tolerance * c.C_F);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SubsonicJetThrust,
    testing::Values(SubsonicJetCase{1.4, "2", "0.7", Regime::NormalShockInside, 0.3795, 2e-4},
                    SubsonicJetCase{1.4, "5", "0.5", Regime::NormalShockInside, 0.0375, 2e-3},
                    SubsonicJetCase{1.4, "10", "0.5", Regime::NormalShockInside, 0.00175, 5e-3},
                    SubsonicJetCase{1.05, "10", "0.7", Regime::NormalShockInside, 6.4e-11, 1e-2},
                    // The exit-shock band is never wider than 1 % of a small
                    // normal-shock limit (3.8e-10 and 3.3e-8 here): these
                    // shocks stand well inside the nozzle.
                    SubsonicJetCase{1.05, "10", "5e-5", Regime::NormalShockInside, 8.89e-7, 1e-2},
                    SubsonicJetCase{1.4, "100", "1e-5", Regime::NormalShockInside, 1.011e-3, 1e-3},
                    // Subsonic throughout: k pb Me^2 Ae/At with Me = 0.11991.
                    SubsonicJetCase{1.4, "2", "0.99", Regime::SubsonicThroughout, 0.03362894473,
                                    1e-9}),
    [](const testing::TestParamInfo<SubsonicJetCase>& info) {
        return "k_" + test::caseName(formatRoundTrip(info.param.k)) + "_Me_Sup_" +
               test::caseName(info.param.me) + "_PePo_" + test::caseName(info.param.pepo);
    });

TEST(GasIdentities, ThrustCoefficientOfTheDesignPointIsTheIdealOne)
{
    // C_F = sqrt(2k^2/(k-1) (2/(k+1))^((k+1)/(k-1)) (1 - (pe/p0)^((k-1)/k))) A_e/A_t-free
    // form at the design pressure ratio (no pressure thrust).
    for (double k : {1.2, 1.4, 5.0 / 3.0}) {
        const FlowState limits = solved(k, "3", "1").state();
        const NozzleModel m = solved(k, "3", formatRoundTrip(limits.PePo_OS));
        const NozzleFigures f = nozzleFigures(m.state(), m.result());
        const L ideal = std::sqrt(2 * k * k / (k - 1) * std::pow(2 / (k + 1), (k + 1) / (k - 1)) *
                                  (1 - std::pow(limits.PePo_OS, (k - 1) / k)));
        EXPECT_NEAR(f.C_F, ideal, 2e-4 * ideal) << k;
        EXPECT_NEAR(f.C_F_pressure, 0, 1e-12);
        EXPECT_EQ(f.mdot_ratio, 1);
        // The exit pressure is the back pressure: perfectly, not under-, expanded.
        const EngineFigures e = engineFigures({7e6, 3500, 0.03, 0.022}, m.state(), m.result());
        EXPECT_EQ(e.pe, e.pb) << k;
        EXPECT_NE(e.idealNote.find("perfectly expanded"), std::string::npos) << e.idealNote;
    }
}

TEST(GasIdentities, NoFlowHasNoThrustAndSubsonicFlowLessMassFlow)
{
    const NozzleModel rest = solved(1.4, "2", "1");
    const NozzleFigures f = nozzleFigures(rest.state(), rest.result());
    EXPECT_EQ(f.mdot_ratio, 0);
    EXPECT_EQ(f.C_F, 0);
    const NozzleModel slow = solved(1.4, "2", "0.99");
    const double mdot = nozzleFigures(slow.state(), slow.result()).mdot_ratio;
    EXPECT_GT(mdot, 0.2);
    EXPECT_LT(mdot, 1);
}

// The listed gases against published figures: molar masses from the IUPAC
// standard atomic weights (H 1.008, He 4.0026, C 12.011, O 15.999, Ar
// 39.948) and, for air, the 1976 standard atmosphere's 28.9644; k of a
// monatomic gas 5/3, of air 1.4, of carbon dioxide 1.289 and steam 1.33 near
// room temperature; the combustion gas as its comment gives it.
TEST(GasList, MolarMassesAndRatiosAreThePublishedOnes)
{
    const struct {
        const char* name;
        double k, molarMass;
    } rows[] = {
        {"air", 1.4, 28.9644},
        {"helium", 5.0 / 3.0, 4.0026},
        {"argon", 5.0 / 3.0, 39.948},
        {"carbon dioxide", 1.289, 12.011 + 2 * 15.999},
        {"steam", 1.33, 2 * 1.008 + 15.999},
        {"hot combustion gas", 1.2, 22},
    };
    ASSERT_EQ(std::size(rows), kGases.size());
    for (const auto& row : rows) {
        const NamedGas* gas = findGas(row.name);
        ASSERT_TRUE(gas) << row.name;
        EXPECT_NEAR(gas->molarMass, row.molarMass, 1e-3) << row.name;
        EXPECT_NEAR(gas->k, row.k, 0.005) << row.name;
    }
}

TEST(GasModel, AirThroughTheGasPathIsBitIdentical)
{
    NozzleModel plain({"2.5", "3", "0.6"});
    NozzleModel viaGas({"2.5", "3", "0.6"}, 5.0 / 3.0);
    viaGas.setGas(1.4);
    for (const char* pepo : {"0.6", "0.3", "0.01"}) {
        const InputTexts t{"2.5", "3", pepo};
        ASSERT_FALSE(plain.calculate(t));
        ASSERT_FALSE(viaGas.calculate(t));
        EXPECT_EQ(plain.state(), viaGas.state());
        EXPECT_EQ(plain.result(), viaGas.result());
    }
}

} // namespace cdnozzle
