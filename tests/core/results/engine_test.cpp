// SPDX-License-Identifier: MIT
// An engine's figures against the closed forms of ideal rocket theory for
// several gases, and against worked examples of the textbooks.
#include "results/engine.h"

#include "gas/area_mach.h"
#include "gas/atmosphere.h"
#include "gas/isentropic.h"
#include "model/nozzle_model.h"
#include "model/thrust_curve.h"
#include "results/flow_figures.h"
#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace cdnozzle {

namespace {

NozzleModel solved(double k, const std::string& me, const std::string& pepo)
{
    NozzleModel m({me, "3", pepo}, k);
    EXPECT_FALSE(m.calculate({me, "3", pepo}));
    return m;
}

std::string rounded(double value, int significant)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*g", significant, value);
    return buffer;
}

} // namespace

// For every gas and regime: the choked mass flow of the closed form,
// c* = p0 A_t / mdot, F = mdot V_e + (p_e - p_b) A_e, I_sp = c* C_F / g0,
// and (isentropic exit) V_e = sqrt(2k/(k-1) R T0 (1 - (p_e/p0)^((k-1)/k))).
TEST(EngineFigures, ClosedFormsHoldForEveryGas)
{
    const Engine engine{7e6, 3500, 0.03, 0.022};
    const double R = kMolarGasConstant / engine.molarMass;
    for (const double k : {1.2, 1.29, 1.4, 5.0 / 3.0}) {
        for (const char* pepo : {"0.9995", "0.6", "0.12", "0.02", "0.0001"}) {
            const NozzleModel m = solved(k, "3", pepo);
            const EngineFigures f = engineFigures(engine, m.state(), m.result());
            const NozzleFigures n = nozzleFigures(m.state(), m.result());
            const std::string where = "k " + formatGeneral(k) + " Pe/Po " + pepo;
            const double choked = engine.At * engine.p0 * std::sqrt(k / (R * engine.T0)) *
                                  std::pow(2 / (k + 1), (k + 1) / (2 * (k - 1)));
            EXPECT_NEAR(f.mdot, choked * n.mdot_ratio, 1e-12 * choked) << where;
            EXPECT_NEAR(f.cstar, engine.p0 * engine.At / choked, 1e-12 * f.cstar) << where;
            EXPECT_NEAR(f.F, f.mdot * f.Ve + (f.pe - f.pb) * f.Ae, 1e-9 * f.F) << where;
            EXPECT_NEAR(f.F_pressure, (f.pe - f.pb) * f.Ae, 1e-9 * f.F) << where;
            EXPECT_NEAR(f.F_momentum + f.F_pressure, f.F, 1e-9 * f.F) << where;
            EXPECT_NEAR(f.Isp, f.cstar * n.C_F / n.mdot_ratio / kStandardGravity, 1e-12 * f.Isp)
                << where;
            if (m.result().regime == Regime::ExitExpansion ||
                m.result().regime == Regime::ObliqueExitShocks) {
                const double ideal = std::sqrt(2 * k / (k - 1) * R * engine.T0 *
                                               (1 - std::pow(f.pe / engine.p0, (k - 1) / k)));
                EXPECT_NEAR(f.Ve, ideal, 1e-9 * ideal) << where;
                EXPECT_EQ(f.ideal.size(), 7u) << where;
            }
            // The thrust line names the pressure part by its sign: a loss
            // (p_b - p_e) A_e when over-expanded, a gain otherwise.
            const std::string thrust = engineLines(engine, f, UnitSystem::SI)[3];
            EXPECT_NE(thrust.find(f.pe < f.pb ? "− (p_b − p_e)·A_e" : "+ (p_e − p_b)·A_e"),
                      std::string::npos)
                << where << ": " << thrust;
        }
    }
}

// The exit-shock band, PePo_NS <= Pe/Po < its top: the plots draw the
// shock in the exit plane, but the flow has it just inside (anywhere in the
// divergent part for Me_Sup 1.01, whose band reaches the subsonic limit),
// with the jet at the back pressure. Its thrust meets the oblique shocks'
// below the band, and the shock inside's or the choked subsonic flow's
// above it, without a jump (the drawn flow's was up to 8 % low); the exit
// values are those behind the shock.
TEST(EngineFigures, ThrustIsContinuousAtTheEdgesOfTheExitShockBand)
{
    const Engine engine{7e6, 3500, 0.03, 0.022};
    for (const double k : {1.2, 1.4, 5.0 / 3.0}) {
        for (const char* me : {"1.01", "1.02", "2", "9"}) {
            const FlowState limits = solved(k, me, "1").state();
            const std::string where = "k " + formatGeneral(k) + " Me_Sup " + me;
            struct Point {
                Regime regime;
                EngineFigures f;
                NozzleFigures n;
            };
            auto at = [&](double pepo) {
                const NozzleModel m = solved(k, me, formatRoundTrip(pepo));
                return Point{m.result().regime, engineFigures(engine, m.state(), m.result()),
                             nozzleFigures(m.state(), m.result())};
            };
            // The first ratio above the band, a few roundings from its top.
            double above = std::nextafter(
                std::min(limits.PePo_NS + exitShockBandWidth(limits.PePo_NS), limits.PePo_sub),
                0.0);
            for (int step = 0; step < 8 && at(above).regime == Regime::NormalShockAtExit; ++step)
                above = std::nextafter(above, 1.0);
            const double edges[][2] = {{std::nextafter(limits.PePo_NS, 0.0), limits.PePo_NS},
                                       {above, std::nextafter(above, 0.0)}};
            for (const auto& [outside, inside] : edges) {
                const Point out = at(outside), in = at(inside);
                const std::string edge = where + " Pe/Po " + formatRoundTrip(inside);
                ASSERT_EQ(regimeName(in.regime), regimeName(Regime::NormalShockAtExit)) << edge;
                ASSERT_NE(regimeName(out.regime), regimeName(Regime::NormalShockAtExit)) << edge;
                EXPECT_NEAR(in.n.C_F, out.n.C_F, 1e-9 * out.n.C_F) << edge;
                EXPECT_NEAR(in.f.F, out.f.F, 1e-9 * out.f.F) << edge;
                EXPECT_EQ(in.n.C_F, in.n.C_F_momentum + in.n.C_F_pressure) << edge;
                EXPECT_EQ(in.f.pe, in.f.pb) << edge;
                EXPECT_EQ(in.n.pe_pb, 1) << edge;
                EXPECT_LT(in.n.Me, 1) << edge;
                EXPECT_NE(in.f.idealNote.find("behind the shock"), std::string::npos) << edge;
            }
        }
    }
}

// The altitudes of the limits, for a chamber of 1 MPa and a Mach 5 nozzle
// of k = 1.2: the normal shock leaves the nozzle (outside pressure
// PePo_NS p0, 14.7 kPa) lower down than the design altitude (PePo_OS p0,
// 540 Pa); the throat chokes already at sea level.
TEST(EngineFigures, LimitAltitudesAreThoseOfTheirLimitPressures)
{
    const Engine engine{1e6, 3500, 0.03, 0.022};
    const NozzleModel m = solved(1.2, "5", "0.01");
    const FlowState& s = m.state();
    const LimitAltitudes at = limitAltitudes(engine, s);
    EXPECT_FALSE(at.choking);
    ASSERT_TRUE(at.shockLeaves && at.design);
    EXPECT_NEAR(standardAtmosphere(*at.shockLeaves)->p, s.PePo_NS * engine.p0, 1e-6);
    EXPECT_NEAR(standardAtmosphere(*at.design)->p, s.PePo_OS * engine.p0, 1e-6);
    EXPECT_LT(*at.shockLeaves, *at.design);
    const std::string text =
        explainEngine(engine, s, m.result(), UnitSystem::SI, std::optional<double>{});
    const auto km = [](double h) { return formatQuantity(h, Quantity::Altitude, UnitSystem::SI); };
    EXPECT_NE(text.find("Its design altitude is " + km(*at.design)), std::string::npos) << text;
    EXPECT_NE(text.find("a normal shock leaves the nozzle at " + km(*at.shockLeaves)),
              std::string::npos)
        << text;
}

// A convergent nozzle's normal-shock limit is its choking ratio, but no
// shock ever stands inside it: below the choking altitude its flow is
// subsonic throughout.
TEST(EngineFigures, NoShockStandsInsideAConvergentNozzle)
{
    const Engine engine{150e3, 3500, 0.03, 0.029};
    const NozzleModel m = solved(1.4, "1", "0.6");
    ASSERT_TRUE(limitAltitudes(engine, m.state()).shockLeaves); // 2.026 km
    const std::string text =
        explainEngine(engine, m.state(), m.result(), UnitSystem::SI, std::optional<double>{});
    EXPECT_EQ(text.find("normal shock leaves"), std::string::npos) << text;
    EXPECT_EQ(text.find("stands inside"), std::string::npos) << text;
    EXPECT_NE(text.find("no normal shock stands in a convergent nozzle"), std::string::npos)
        << text;
}

// "Ae/At =": an area ratio from 1 (a convergent nozzle) to that of the
// largest design Mach number, blanks around it dropped; its supersonic Mach
// number for the gas (NACA 1135: 1.68750 at Mach 2, 4.23457 at Mach 3).
TEST(EngineFigures, DesignMachOfAnAreaRatio)
{
    const struct {
        const char* text;
        double mach; // 0: refused
        double tolerance;
    } rows[] = {
        {"1", 1, 0},   {"1.6875", 2, 1e-12}, {" 4.23457 ", 3, 1e-5}, {"0.999", 0, 0}, {"1e9", 0, 0},
        {"abc", 0, 0}, {"", 0, 0},
    };
    for (const auto& row : rows) {
        const auto got = designMachOfAreaRatio(row.text, kAirK);
        if (row.mach == 0) {
            ASSERT_TRUE(std::holds_alternative<std::string>(got)) << row.text;
            EXPECT_TRUE(
                std::get<std::string>(got).starts_with("Ae/At = must be a number from 1 to "))
                << std::get<std::string>(got);
        } else {
            ASSERT_TRUE(std::holds_alternative<double>(got)) << row.text;
            EXPECT_NEAR(std::get<double>(got), row.mach, row.tolerance) << row.text;
        }
    }
    // The largest area ratio gives the largest design Mach number.
    const std::string largest = formatRoundTrip(AAfM(gasOf(kAirK), kMeSupMax));
    EXPECT_EQ(std::get<double>(designMachOfAreaRatio(largest, kAirK)), kMeSupMax);
}

// Sutton & Biblarz, Rocket Propulsion Elements, Example 3-3: a nozzle for
// 25 km, p1 = 2.068 MPa, T1 = 2800 K, k = 1.30, R = 355.4 J/(kg K). Its
// printed results: the outside pressure 0.002549 MPa, the critical
// (throat) pressure 1.129 MPa and the throat velocity 1060 m/s.
TEST(EngineFigures, RocketTextbookExample)
{
    const auto air = standardAtmosphere(25000);
    EXPECT_EQ(rounded(air->p / 1e6, 4), "0.002549");
    const Engine engine{2.068e6, 2800, 1e-3, kMolarGasConstant / 355.4};
    const double pepo = backPressureRatioAt(engine, 25000);
    const double me = isentropicMachOfPressure(gasOf(1.3), pepo);
    const NozzleModel m = solved(1.3, formatRoundTrip(me), formatRoundTrip(pepo));
    int throat = 1;
    while (m.state().M[static_cast<std::size_t>(throat)] < 1) ++throat;
    const StationValues t = stationValues(engine, m.state(), throat);
    EXPECT_EQ(rounded(t.p / 1e6, 4), "1.129");
    EXPECT_EQ(rounded(t.V, 3), "1.06e+03");
}

// Cengel & Boles, Thermodynamics, the converging-diverging nozzle example:
// air at 1.0 MPa and 800 K, Ma = 2 at the exit, throat 20 cm², k = 1.4,
// R = 0.287 kJ/(kg K). Printed: throat 0.5283 MPa, 666.7 K, 2.761 kg/m³;
// exit 0.1278 MPa, 1.002 kg/m³, 845.2 m/s, 33.75 cm²; 2.86 kg/s. (Its
// exit temperature, 444.5 K, comes from a table of T/T0 to 4 digits; the
// exact value is 444.4 K.)
TEST(EngineFigures, NozzleTextbookExample)
{
    const Engine engine{1e6, 800, 20e-4, kMolarGasConstant / 287};
    const NozzleModel m = solved(1.4, "2", formatRoundTrip(1 / PoP(gasOf(1.4), 2)));
    const EngineFigures f = engineFigures(engine, m.state(), m.result());
    int throat = 1;
    while (m.state().M[static_cast<std::size_t>(throat)] < 1) ++throat;
    const StationValues t = stationValues(engine, m.state(), throat);
    EXPECT_EQ(rounded(t.p / 1e6, 4), "0.5283");
    EXPECT_EQ(rounded(t.T, 4), "666.7");
    EXPECT_EQ(rounded(t.rho, 4), "2.761");
    EXPECT_EQ(rounded(f.pe / 1e6, 4), "0.1278");
    EXPECT_EQ(rounded(f.pe / (kMolarGasConstant / engine.molarMass * f.Te), 4), "1.002");
    EXPECT_EQ(rounded(f.Ve, 4), "845.2");
    EXPECT_EQ(rounded(f.Ae * 1e4, 4), "33.75");
    EXPECT_EQ(rounded(f.mdot, 3), "2.86");
}

// The climb's table: a header with units, a row per altitude whose Pe/Po
// is the atmosphere's over p0 and whose thrust is the engine's there.
TEST(EngineFigures, ThrustOverAltitude)
{
    const Engine engine{7e6, 3500, 0.03, 0.022};
    const std::string csv =
        thrustCurveCsv({"3", "3", "1"}, 1.2, engine, UnitSystem::SI, {0, 20000, 86000});
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "altitude (km),outside pressure (Pa),Pe/Po,regime,C_F,thrust (N),I_sp (s)");
    EXPECT_NE(csv.find("\n20,"), std::string::npos);
    const NozzleModel m = solved(1.2, "3", formatRoundTrip(backPressureRatioAt(engine, 20000)));
    const EngineFigures f = engineFigures(engine, m.state(), m.result());
    EXPECT_NE(csv.find("," + formatRoundTrip(f.F) + "," + formatRoundTrip(f.Isp) + "\n"),
              std::string::npos);
    const std::string us = thrustCurveCsv({"3", "3", "1"}, 1.2, engine, UnitSystem::US, {0});
    EXPECT_EQ(us.substr(0, us.find('\n')),
              "altitude (ft),outside pressure (psi),Pe/Po,regime,C_F,thrust (lbf),I_sp (s)");
    // A chamber pressure below the outside pressure lets nothing flow.
    EXPECT_EQ(backPressureRatioAt({50000, 300, 1, 0.029}, 0), 1);
}

} // namespace cdnozzle
