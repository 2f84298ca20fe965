// SPDX-License-Identifier: MIT
#include "results/explanation.h"

#include "gas/isentropic.h"
#include "gas/normal_shock.h"
#include "results/flow_figures.h"
#include "results/regime_summary.h"
#include "text/number_text.h"

#include <cmath>

namespace cdnozzle {

namespace {

std::string n4(double v)
{
    return formatRatio(v);
}

std::string degrees(double radians)
{
    return formatAngle(radians);
}

// Where Pe/Po stands against a limit it lies `side` of ("below", "above"):
// "lies below the design pressure ratio 0.1278", or, when the two print
// alike, "is at the design pressure ratio 0.1278 (just below it)".
std::string against(const FlowState& s, const char* side, const std::string& limitName,
                    double limit)
{
    if (n4(s.PePo) == n4(limit)) {
        if (limitName.empty()) return "is just " + std::string(side) + " " + n4(limit);
        return "is at " + limitName + " " + n4(limit) + " (just " + side + " it)";
    }
    return "lies " + std::string(side) + " " + limitName + " " + n4(limit);
}

// "lies between the subsonic limit 0.9 and the normal-shock limit 0.5",
// saying so in words where Pe/Po prints as one of them.
std::string between(const FlowState& s, const std::string& upperName, double upper,
                    const std::string& lowerName, double lower)
{
    if (n4(s.PePo) == n4(upper)) return against(s, "below", upperName, upper);
    if (n4(s.PePo) == n4(lower)) return against(s, "above", lowerName, lower);
    const auto named = [](const std::string& name) { return name.empty() ? name : name + " "; };
    return "lies between " + named(upperName) + n4(upper) + " and " + named(lowerName) + n4(lower);
}

// The Mach angle asin(1/M) of a supersonic flow.
double machAngle(double M)
{
    return std::asin(1 / M);
}

// A design Mach number of 1: a convergent nozzle, whose exit is its throat
// and whose three limits are one, the choking pressure ratio.
bool convergent(const FlowState& s)
{
    return s.M_max == 1;
}

std::string percent(double share)
{
    return formatPercent(share);
}

std::string limitsLine(const FlowState& s)
{
    if (convergent(s)) return "the choking pressure ratio " + n4(s.PePo_sub);
    return "subsonic limit " + n4(s.PePo_sub) + ", normal-shock limit " + n4(s.PePo_NS) +
           ", design pressure ratio " + n4(s.PePo_OS);
}

// The jump across a normal shock from M1 at p1/p0; p2 and p02/p01 follow
// from the normal-shock relations.
std::string shockJump(const FlowState& s, double M1, double p1)
{
    const double r0 = stagnationPressureRatio(s, M1);
    return "M drops from " + n4(M1) + " to " + n4(NS(s, M1)) + " and p/p0 jumps from " + n4(p1) +
           " to " + n4(p1 * P2P1fM1(s, M1)) + "; the stagnation pressure falls by " +
           percent(1 - r0) + " (p02/p01 = " + n4(r0) + ")";
}

std::string describe(const FlowState& s, const CalcResult& result, bool backAboveReservoir);

} // namespace

std::string explainFlow(const FlowState& s, const CalcResult& result, bool backAboveReservoir)
{
    std::string text = describe(s, result, backAboveReservoir);
    if (text.empty() || result.regime == Regime::NoFlow) return text;
    // The whole nozzle's figures, on a line of their own.
    const NozzleFigures f = nozzleFigures(s, result);
    text += "\nMass flow ṁ/ṁ* = " + n4(f.mdot_ratio) +
            " (ṁ* is the choked mass flow, the most this throat passes from this reservoir); "
            "thrust coefficient C_F = " +
            n4(f.C_F) + " (momentum " + n4(f.C_F_momentum) + ", pressure " + n4(f.C_F_pressure) +
            "); exit-plane pressure over back pressure p_exit/p_b = " + n4(f.pe_pb) + ".";
    return text;
}

namespace {

std::string shockInside(const FlowState& s, const CalcResult& result)
{
    const int i = s.i_NS;
    const int e = s.N_tot;
    std::string text =
        "Pe/Po = " + n4(s.PePo) + " " +
        between(s, "the subsonic limit", s.PePo_sub, "the normal-shock limit", s.PePo_NS) +
        ". The throat is choked (M = 1) and the flow is supersonic behind it up to a normal shock, "
        "drawn at station " +
        std::to_string(i) + " of the " + std::to_string(e + 1) +
        " points along the axis where the flow is calculated (x = " + n4(s.x[i]) +
        "): " + shockJump(s, s.M[i], s.PiPo[i]) +
        ". Behind the shock the flow is subsonic and slows down to M = " + n4(s.M[e]) +
        " at the exit. As the back pressure falls the shock moves downstream and grows stronger, "
        "until at " +
        n4(s.PePo_NS) + " it stands in the exit plane.";
    if (const auto& exact = result.exactShock) {
        text +=
            "\nCalculated exactly, between those points, the shock stands at x = " + n4(exact->x) +
            ": M drops from " + n4(exact->M1) + " to " + n4(exact->M2) +
            ", p02/p01 = " + n4(exact->p02_p01) +
            ", and the jet leaves the exit at M = " + n4(exact->Me) + " and the back pressure.";
    }
    return text;
}

// The band at the normal-shock limit: the plots draw the shock in the exit
// plane, ahead of it the design flow of the exact relations (not the
// grid's exit station); the flow that exists has it a little upstream.
std::string shockAtExit(const FlowState& s, const CalcResult& result)
{
    std::string text =
        "Pe/Po = " + n4(s.PePo) + " lies at the normal-shock limit " + n4(s.PePo_NS) +
        " (the band up to " + n4(exitShockBandWidth(s.PePo_NS)) +
        " above it): the plots draw the divergent part supersonic throughout and a normal shock "
        "in the exit plane, where " +
        shockJump(s, s.M_max, s.PePo_OS) +
        ". As the back pressure falls further the shock leaves the nozzle and turns into "
        "oblique shocks at the exit lips.";
    if (const auto& exact = result.exactShock) {
        // Where along the divergent part, from the throat (0) to the exit (1).
        const double along = (exact->x - 1) / (s.M_max - 1);
        const char* where = along >= 0.9   ? "just inside the exit"
                            : along <= 0.1 ? "next to the throat"
                                           : "inside the divergent part";
        text += "\nWithout the station grid the shock stands " + std::string(where) +
                ", at x = " + n4(exact->x) + ": M drops from " + n4(exact->M1) + " to " +
                n4(exact->M2) + ", p02/p01 = " + n4(exact->p02_p01) +
                ", and the jet leaves the exit at M = " + n4(exact->Me) + " and the back pressure.";
    }
    return text;
}

std::string obliqueShocks(const FlowState& s, const ExitWaves& w)
{
    std::string text =
        "Pe/Po = " + n4(s.PePo) + " " +
        between(s, "the normal-shock limit", s.PePo_NS, "the design pressure ratio", s.PePo_OS) +
        ". The flow is supersonic from the throat to the exit and leaves at the design Mach "
        "number " +
        n4(s.M_max) + " with p/p0 = " + n4(s.PePo_OS) +
        ", below the back pressure: the jet is over-expanded.";
    if (w.strong) {
        // Just below the normal-shock limit: no weak oblique shock to lean over yet.
        return text +
               " No oblique shock attached to the exit lips can raise the pressure this much: "
               "such a shock turns a Mach " +
               n4(s.M_max) + " flow by " + degrees(w.maxDeflection) +
               " at most (reached at Pe/Po = " + n4(w.strongFrom) +
               "), so the shock that matches the pressures is a strong one, standing steeply "
               "across "
               "the flow (at " +
               degrees(w.shockAngle) + " to the flow, turning it towards the axis by " +
               degrees(w.deflection) + ") with a subsonic jet behind it (M = " + n4(s.Me) +
               "), as behind a normal shock: a real jet forms a "
               "nearly normal shock across its core (a Mach disk), with oblique shocks from the "
               "lips meeting it. As the back pressure falls below " +
               n4(w.strongFrom) +
               " the shocks at the lips become weak oblique shocks, which lean over and weaken "
               "until at " +
               n4(s.PePo_OS) + " they vanish.";
    }
    return text + " Oblique shocks at the exit lips, at " + degrees(w.shockAngle) +
           " to the flow, turn it towards the axis by " + degrees(w.deflection) +
           " and raise its pressure to Pe/Po; behind them the jet moves at M = " + n4(s.Me) +
           ". As the back pressure falls the shocks weaken and lean over, until at " +
           n4(s.PePo_OS) + " they vanish.";
}

std::string expansion(const FlowState& s, const ExitWaves& w)
{
    const std::string pe = "Pe/Po = " + n4(s.PePo);
    const std::string turn = "turn it away from the axis by " + degrees(w.nuJet - w.nuExit) +
                             " (Prandtl-Meyer angle from " + degrees(w.nuExit) + " to " +
                             degrees(w.nuJet) + ")";
    if (convergent(s)) {
        return pe + " " + against(s, "below", "the choking pressure ratio", s.PePo_OS) +
               ". The nozzle is convergent, so the exit is the throat: the flow stays sonic there "
               "(M = 1, p/p0 = " +
               n4(s.PePo_OS) +
               "), above the back pressure, and the jet leaves under-expanded at Mach 1. "
               "Expansion waves at the exit lips lower its pressure to Pe/Po, speed it up to M = " +
               n4(s.Me) + " and " + turn +
               "; no shock can stand in a nozzle without a divergent part.";
    }
    return pe + " " + against(s, "below", "the design pressure ratio", s.PePo_OS) +
           ": the flow leaves the exit at the design Mach number " + n4(s.M_max) +
           " with p/p0 = " + n4(s.PePo_OS) +
           ", above the back pressure, so the jet is under-expanded. Expansion waves at the exit "
           "lips, drawn at the Mach angles " +
           degrees(machAngle(s.M_max)) + " (M = " + n4(s.M_max) + ") and " +
           degrees(machAngle(s.Me)) + " (M = " + n4(s.Me) +
           "), lower its pressure to Pe/Po, speed it up to M = " + n4(s.Me) + " and " + turn +
           ". Lowering the back pressure further changes nothing inside the nozzle; only the "
           "expansion outside grows stronger.";
}

// Within kDesignNearness of the design pressure ratio, on either side: what
// the status line calls the design condition.
std::string design(const FlowState& s)
{
    const std::string pe = "Pe/Po = " + n4(s.PePo);
    const bool exact = s.PePo == s.PePo_OS;
    const std::string within = exact ? " is the design pressure ratio"
                               : n4(s.PePo) == n4(s.PePo_OS)
                                   ? " is at the design pressure ratio"
                                   : " is at the design pressure ratio " + n4(s.PePo_OS) +
                                         " (within " + n4(kDesignNearness) + ")";
    return pe + within +
           ": the flow is supersonic from the throat to the exit and leaves at the design Mach "
           "number " +
           n4(s.M_max) + " with " + (exact ? "exactly" : "very nearly") +
           " the back pressure, so no shock or expansion of any strength stands at the exit "
           "(the lines mark the Mach angle " +
           degrees(machAngle(s.M_max)) +
           ") and the jet leaves straight: it is perfectly expanded. Below this back pressure "
           "the jet leaves under-expanded and expands outside the nozzle.";
}

std::string describe(const FlowState& s, const CalcResult& result, bool backAboveReservoir)
{
    const std::string pe = "Pe/Po = " + n4(s.PePo);
    const int t = s.N_conv;
    switch (result.regime) {
    case Regime::NotCalculated:
    case Regime::NotClassified: return {};
    case Regime::NoFlow:
        if (backAboveReservoir) {
            return pe +
                   ": the back pressure is above the reservoir pressure, so the ratio is taken as "
                   "1, above every limit (" +
                   limitsLine(s) +
                   "). Nothing flows: M = 0 and p/p0 = 1 all along the nozzle. Once the back "
                   "pressure falls below the reservoir pressure, the gas starts to flow, fastest "
                   "at the throat.";
        }
        return pe + ": the back pressure equals the reservoir pressure, above every limit (" +
               limitsLine(s) +
               "). Nothing moves: M = 0 and p/p0 = 1 all along the nozzle. As the back pressure "
               "falls, the gas starts to flow, fastest at the throat.";
    case Regime::SubsonicThroughout:
        if (convergent(s)) {
            return pe + " " + between(s, "", 1, "the choking pressure ratio", s.PePo_sub) +
                   ". The nozzle is convergent, so the exit is the throat: the flow is subsonic "
                   "and speeds up all the way to M = " +
                   n4(s.Me) + " there, where p/p0 = Pe/Po. As the back pressure falls towards " +
                   n4(s.PePo_sub) + " the exit approaches Mach 1 and the nozzle chokes.";
        }
        return pe + " " + between(s, "", 1, "the subsonic limit", s.PePo_sub) +
               ". The flow is subsonic everywhere: it speeds up to M = " + n4(s.M[t]) +
               " at the throat, where the pressure is lowest (p/p0 = " + n4(s.PiPo[t]) +
               "), and slows down again in the divergent part to M = " + n4(s.Me) +
               " at the exit, where p/p0 = Pe/Po. As the back pressure falls towards " +
               n4(s.PePo_sub) + " the throat approaches Mach 1 and the nozzle chokes.";
    case Regime::ChokedSubsonic:
        if (convergent(s)) {
            return pe +
                   " is exactly the choking pressure ratio. The nozzle is convergent, so the "
                   "exit is the throat: it has just reached Mach 1 (p/p0 = " +
                   n4(s.PiPo[t]) +
                   ") and the mass flow its largest value. Below this back pressure the jet "
                   "leaves at Mach 1, under-expanded, and expands outside the nozzle.";
        }
        return pe + " is exactly the subsonic limit: the throat has just reached Mach 1 (p/p0 = " +
               n4(s.PiPo[t]) +
               ") and the mass flow its largest value, while the divergent part slows the flow "
               "down again, subsonic, to M = " +
               n4(s.Me) +
               " at the exit. Below this back pressure the flow goes on accelerating past the "
               "throat and a normal shock appears in the divergent part.";
    case Regime::NormalShockInside: return shockInside(s, result);
    case Regime::NormalShockAtExit: return shockAtExit(s, result);
    case Regime::ObliqueExitShocks:
        if (atDesignCondition(s, result)) return design(s);
        return obliqueShocks(s, result.waves);
    case Regime::ExitExpansion:
        if (atDesignCondition(s, result)) return design(s);
        return expansion(s, result.waves);
    }
    return {};
}

} // namespace

} // namespace cdnozzle
