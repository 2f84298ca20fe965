// SPDX-License-Identifier: MIT
#include "results/engine.h"

#include "gas/area_mach.h"
#include "gas/atmosphere.h"
#include "gas/isentropic.h"
#include "results/flow_figures.h"
#include "results/station_data.h"
#include "text/number_text.h"
#include "text/validation.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

double specificGasConstant(const Engine& engine)
{
    return kMolarGasConstant / engine.molarMass;
}

double chokedMassFlow(const Engine& engine, double k)
{
    const double R = specificGasConstant(engine);
    return engine.At * engine.p0 * std::sqrt(k / (R * engine.T0)) *
           std::pow(2 / (k + 1), (k + 1) / (2 * (k - 1)));
}

namespace {

// Which figures an ideal nozzle would give in this regime.
void judge(EngineFigures& f, Regime regime)
{
    const std::vector<std::string_view> all{"mdot", "c_star", "V_e", "T_e", "p_e", "F", "I_sp"};
    switch (regime) {
    case Regime::NoFlow:
        f.ideal = {"c_star"};
        f.idealNote = "nothing flows: the outside pressure is at least the chamber's";
        return;
    case Regime::SubsonicThroughout:
        f.ideal = all;
        f.idealNote = "isentropic throughout, all ideal; the throat is not choked, so the mass "
                      "flow is below the choked one";
        return;
    case Regime::ChokedSubsonic:
        f.ideal = all;
        f.idealNote = "isentropic throughout, all ideal; the jet leaves subsonic";
        return;
    case Regime::NormalShockInside:
        f.ideal = {"mdot", "c_star"};
        f.idealNote = "the mass flow and c* are ideal (the throat is choked); the exit figures, "
                      "the thrust and I_sp are not: the normal shock inside loses stagnation "
                      "pressure (a real nozzle's flow would leave the wall before that)";
        return;
    case Regime::NormalShockAtExit:
        f.ideal = {"mdot", "c_star"};
        f.idealNote = "the mass flow and c* are ideal (the throat is choked); the exit figures, "
                      "the thrust and I_sp are not: the normal shock drawn in the exit plane "
                      "stands inside the nozzle, upstream of it, and loses stagnation pressure; "
                      "V_e, T_e and p_e are those behind the shock, at the exit, where the jet "
                      "leaves at the outside pressure";
        return;
    case Regime::ObliqueExitShocks:
        f.ideal = all;
        f.idealNote = "isentropic to the exit, all ideal; over-expanded: the exit pressure is "
                      "below the outside pressure, the pressure part of the thrust is negative";
        return;
    case Regime::ExitExpansion:
        f.ideal = all;
        f.idealNote = f.pe > f.pb ? "isentropic to the exit, all ideal; under-expanded: the jet "
                                    "expands further outside the nozzle"
                                  : "isentropic to the exit, all ideal; perfectly expanded: the "
                                    "best thrust for this outside pressure";
        return;
    default: f.ideal = {}; f.idealNote = "";
    }
}

} // namespace

EngineFigures engineFigures(const Engine& engine, const FlowState& s, const CalcResult& result)
{
    const NozzleFigures n = nozzleFigures(s, result);
    const double R = specificGasConstant(engine);
    const double scale = engine.p0 * engine.At;
    const double choked = chokedMassFlow(engine, s.k);
    EngineFigures f;
    f.mdot = n.mdot_ratio * choked;
    f.cstar = scale / choked;
    f.Te = engine.T0 / (1 + s.km1_2 * n.Me * n.Me);
    f.Ve = n.Me * std::sqrt(s.k * R * f.Te);
    f.pe = n.pe_p0 * engine.p0;
    f.pb = s.PePo * engine.p0;
    f.Ae = s.AAe * engine.At;
    f.F = n.C_F * scale;
    f.F_momentum = n.C_F_momentum * scale;
    f.F_pressure = n.C_F_pressure * scale;
    f.Isp = f.mdot > 0 ? f.F / (f.mdot * kStandardGravity) : 0;
    judge(f, result.regime);
    return f;
}

LimitAltitudes limitAltitudes(const Engine& engine, const FlowState& s)
{
    return {altitudeOfPressure(s.PePo_sub * engine.p0), altitudeOfPressure(s.PePo_NS * engine.p0),
            altitudeOfPressure(s.PePo_OS * engine.p0)};
}

StationValues stationValues(const Engine& engine, const FlowState& s, int i)
{
    const auto at = static_cast<std::size_t>(i);
    const double R = specificGasConstant(engine);
    const double M = s.M[at];
    const double T = engine.T0 / (1 + s.km1_2 * M * M);
    const double p = s.PiPo[at] * engine.p0;
    return {p, T, p / (R * T), M * std::sqrt(s.k * R * T)};
}

double outsidePressure(double altitude)
{
    const auto air = standardAtmosphere(altitude);
    return air ? air->p : kSeaLevelPressure;
}

double backPressureRatioAt(const Engine& engine, double altitude)
{
    return std::min(1.0, outsidePressure(altitude) / engine.p0);
}

bool outsideAboveChamber(const Engine& engine, std::optional<double> altitude)
{
    return altitude && outsidePressure(*altitude) > engine.p0;
}

std::vector<std::string> engineLines(const Engine& engine, const EngineFigures& f, UnitSystem units)
{
    auto q = [&](double v, Quantity quantity) { return formatQuantity(v, quantity, units); };
    std::vector<std::string> lines{
        "Chamber: p0 = " + q(engine.p0, Quantity::Pressure) + ", T0 = " +
            q(engine.T0, Quantity::Temperature) + "; throat A_t = " + q(engine.At, Quantity::Area) +
            ", exit A_e = " + q(f.Ae, Quantity::Area) + "; molar mass " +
            formatShown(engine.molarMass * 1000) + " g/mol",
        "Mass flow ṁ = " + q(f.mdot, Quantity::MassFlow) +
            ", c* = " + q(f.cstar, Quantity::Velocity),
        "Exit: V_e = " + q(f.Ve, Quantity::Velocity) + ", T_e = " + q(f.Te, Quantity::Temperature) +
            ", p_e = " + q(f.pe, Quantity::Pressure) +
            // With nothing flowing the back pressure stands for the chamber's
            // own, not for the air outside, which may be higher.
            (f.mdot > 0 ? " (outside " + q(f.pb, Quantity::Pressure) + ")" : std::string()),
        "Thrust F = " + q(f.F, Quantity::Force) + " = ṁ·V_e (" + q(f.F_momentum, Quantity::Force) +
            (f.F_pressure < 0 ? ") − (p_b − p_e)·A_e (" : ") + (p_e − p_b)·A_e (") +
            q(std::fabs(f.F_pressure), Quantity::Force) + ")",
        "Specific impulse I_sp = " +
            (f.mdot > 0 ? formatSignificant(f.Isp) + " s" : std::string("— (nothing flows)")),
        "Ideal: " + f.idealNote,
    };
    return lines;
}

std::string engineSummary(const EngineFigures& f, UnitSystem units)
{
    auto q = [&](double v, Quantity quantity) { return formatQuantity(v, quantity, units); };
    return "F = " + q(f.F, Quantity::Force) +
           ", I_sp = " + (f.mdot > 0 ? formatSignificant(f.Isp) + " s" : std::string("—")) +
           ", ṁ = " + q(f.mdot, Quantity::MassFlow) + ", V_e = " + q(f.Ve, Quantity::Velocity);
}

} // namespace cdnozzle

namespace cdnozzle {

std::variant<double, std::string> designMachOfAreaRatio(std::string_view text, double k)
{
    const Gas gas = gasOf(k);
    const double largest = AAfM(gas, kMeSupMax);
    std::string_view number = text;
    while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
    while (!number.empty() && number.back() == ' ') number.remove_suffix(1);
    const std::optional<double> ratio = readStrictNumber(number);
    if (!ratio || !(*ratio >= 1 && *ratio <= largest)) {
        return "Ae/At = must be a number from 1 to " + formatSignificant(largest) +
               " (the area ratio of Me_Sup = " + formatGeneral(kMeSupMax) + ") " +
               quotedInput(text);
    }
    return std::min(kMeSupMax, machOfAreaRatio(gas, *ratio, true));
}

} // namespace cdnozzle

namespace cdnozzle {

std::string altitudeLine(double altitude, UnitSystem units)
{
    const auto air = standardAtmosphere(altitude);
    return "Altitude " + formatQuantity(altitude, Quantity::Altitude, units) +
           ": outside pressure " +
           formatQuantity(air ? air->p : kSeaLevelPressure, Quantity::Pressure, units) +
           " (1976 standard atmosphere)";
}

std::string explainEngine(const Engine& engine, const FlowState& s, const CalcResult& result,
                          UnitSystem units, std::optional<double> altitude)
{
    auto q = [&](double v, Quantity quantity) { return formatQuantity(v, quantity, units); };
    const EngineFigures f = engineFigures(engine, s, result);
    std::string text = "The engine. ";
    if (altitude) text += altitudeLine(*altitude, units) + ". ";
    for (const std::string& line : engineLines(engine, f, units)) text += line + ". ";
    const LimitAltitudes at = limitAltitudes(engine, s);
    const double top = atmosphereTopPressure();
    const double designPressure = s.PePo_OS * engine.p0;
    if (at.design) {
        text += "Its design altitude is " + q(*at.design, Quantity::Altitude) +
                ": there the outside pressure equals the design exit pressure " +
                q(designPressure, Quantity::Pressure) + ", perfectly expanded";
    } else if (designPressure > kSeaLevelPressure) {
        text += "Its design exit pressure " + q(designPressure, Quantity::Pressure) +
                " lies above sea level's: under-expanded at every altitude";
    } else {
        text += "Its design exit pressure " + q(designPressure, Quantity::Pressure) +
                " lies below the pressure at 86 km (" + q(top, Quantity::Pressure) +
                "): over-expanded all the way up";
    }
    const double shockPressure = s.PePo_NS * engine.p0;
    if (!(s.M_max > 1)) {
        // Its normal-shock limit is the choking ratio, yet without a
        // divergent part no shock can stand: below the choking altitude the
        // flow is subsonic throughout.
        text += "; no normal shock stands in a convergent nozzle.";
    } else if (at.shockLeaves) {
        text += "; a normal shock leaves the nozzle at " + q(*at.shockLeaves, Quantity::Altitude) +
                " (below it a normal shock stands inside).";
    } else if (shockPressure > kSeaLevelPressure) {
        text += "; no normal shock stands inside at any altitude.";
    } else {
        text += "; a normal shock stands inside up to 86 km.";
    }
    return text;
}

} // namespace cdnozzle

namespace cdnozzle {

std::string engineStationCsv(const Engine& engine, const FlowState& s, UnitSystem units)
{
    const Quantity quantities[] = {Quantity::Pressure, Quantity::Temperature, Quantity::Density,
                                   Quantity::Velocity};
    const char* names[] = {"p", "T", "rho", "V"};
    const std::string table = stationCsv(s);
    std::string out;
    std::size_t start = 0;
    for (int row = 0; start < table.size(); ++row) {
        const std::size_t end = table.find('\n', start);
        out.append(table, start, end - start);
        if (row == 0) {
            for (std::size_t c = 0; c < 4; ++c) {
                const Unit& unit = dataUnit(quantities[c], units);
                out += ',';
                out += names[c];
                out += " (";
                out += unit.ascii.empty() ? unit.symbol : unit.ascii;
                out += ')';
            }
        } else {
            const StationValues v = stationValues(engine, s, row);
            const double values[] = {v.p, v.T, v.rho, v.V};
            for (std::size_t c = 0; c < 4; ++c) {
                out += ',';
                out += formatRoundTrip(fromSI(values[c], dataUnit(quantities[c], units)));
            }
        }
        out += '\n';
        start = end + 1;
    }
    return out;
}

} // namespace cdnozzle
