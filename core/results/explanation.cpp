#include "results/explanation.h"

#include "gas/isentropic.h"
#include "gas/normal_shock.h"
#include "results/flow_figures.h"
#include "text/number_text.h"

#include <cmath>

namespace cdnozzle {

namespace {

std::string n4(double v)
{
    return formatShown(v);
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

// A share as a percentage: one decimal, or four where it is below 0.1 %.
std::string percent(double share)
{
    const double p = share * 100;
    return (p < 0.1 ? formatShown(p) : formatFixed(p, 1)) + " %";
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
    text += "\nMass flow " + n4(f.mdot_ratio) +
            " of the choked mass flow; thrust coefficient C_F = " + n4(f.C_F) + " (momentum " +
            n4(f.C_F_momentum) + ", pressure " + n4(f.C_F_pressure) +
            "); exit-plane to back pressure pe/pb = " + n4(f.pe_pb) + ".";
    return text;
}

namespace {

std::string shockInside(const FlowState& s, const CalcResult& result)
{
    const int i = s.i_NS;
    const int e = s.N_tot;
    std::string text =
        "Pe/Po = " + formatGeneral(s.PePo) + " lies between the subsonic limit " + n4(s.PePo_sub) +
        " and the normal-shock limit " + n4(s.PePo_NS) +
        ". The throat is choked (M = 1) and the flow is supersonic behind it up to a normal shock, "
        "drawn at station " +
        std::to_string(i) + " (x = " + n4(s.x[i]) + "): " + shockJump(s, s.M[i], s.PiPo[i]) +
        ". Behind the shock the flow is subsonic and slows down to M = " + n4(s.M[e]) +
        " at the exit. As the back pressure falls the shock moves downstream and grows stronger, "
        "until at " +
        n4(s.PePo_NS) + " it stands in the exit plane.";
    if (const auto& exact = result.exactShock) {
        text += "\nWithout the station grid the shock stands at x = " + n4(exact->x) +
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
        "Pe/Po = " + formatGeneral(s.PePo) + " lies at the normal-shock limit " + n4(s.PePo_NS) +
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
        "Pe/Po = " + formatGeneral(s.PePo) + " lies between the normal-shock limit " +
        n4(s.PePo_NS) + " and the design pressure ratio " + n4(s.PePo_OS) +
        ". The flow is supersonic from the throat to the exit and leaves at the design Mach "
        "number " +
        n4(s.M_max) + " with p/p0 = " + n4(s.PePo_OS) +
        ", below the back pressure: the jet is over-expanded. Oblique shocks at the exit lips, "
        "at " +
        formatDegrees(w.shockAngle) + " to the flow, turn it towards the axis by " +
        formatDegrees(w.deflection) +
        " and raise its pressure to Pe/Po; behind them the jet moves at M = " + n4(s.Me) +
        ". As the back pressure falls the shocks weaken and lean over, until at " + n4(s.PePo_OS) +
        " they vanish.";
    if (w.strong) {
        text += "\nNo weak oblique shock can raise the pressure this much: an attached shock turns "
                "a Mach " +
                n4(s.M_max) + " flow by " + formatDegrees(w.maxDeflection) +
                " at most, which is reached at Pe/Po = " + n4(w.strongFrom) +
                ". The single shock that matches the pressures lies on the strong branch, with a "
                "subsonic jet behind it; a real jet forms a nearly normal shock across its core "
                "(a Mach disk), with oblique shocks from the lips meeting it.";
    }
    return text;
}

std::string expansion(const FlowState& s, const ExitWaves& w)
{
    const std::string pe = "Pe/Po = " + formatGeneral(s.PePo);
    const std::string turn = "turn it away from the axis by " + formatDegrees(w.nuJet - w.nuExit) +
                             " (Prandtl-Meyer angle from " + formatDegrees(w.nuExit) + " to " +
                             formatDegrees(w.nuJet) + ")";
    if (convergent(s)) {
        return pe + " lies below the choking pressure ratio " + n4(s.PePo_OS) +
               ". The nozzle is convergent, so the exit is the throat: the flow stays sonic there "
               "(M = 1, p/p0 = " +
               n4(s.PePo_OS) +
               "), above the back pressure, and the jet leaves under-expanded at Mach 1. "
               "Expansion waves at the exit lips lower its pressure to Pe/Po, speed it up to M = " +
               n4(s.Me) + " and " + turn +
               "; no shock can stand in a nozzle without a divergent part.";
    }
    if (s.PePo == s.PePo_OS) {
        return pe +
               " is the design pressure ratio: the flow is supersonic from the throat "
               "to the exit and leaves at the design Mach number " +
               n4(s.M_max) +
               " with exactly the back pressure, so no shock or expansion stands at the exit "
               "(the lines mark the Mach angle " +
               formatDegrees(machAngle(s.M_max)) +
               ") and the jet leaves straight. Below this back pressure the jet leaves "
               "under-expanded and expands outside the nozzle.";
    }
    return pe + " lies below the design pressure ratio " + n4(s.PePo_OS) +
           ": the flow leaves the exit at the design Mach number " + n4(s.M_max) +
           " with p/p0 = " + n4(s.PePo_OS) +
           ", above the back pressure, so the jet is under-expanded. Expansion waves at the exit "
           "lips, drawn at the Mach angles " +
           formatDegrees(machAngle(s.M_max)) + " (M = " + n4(s.M_max) + ") and " +
           formatDegrees(machAngle(s.Me)) + " (M = " + n4(s.Me) +
           "), lower its pressure to Pe/Po, speed it up to M = " + n4(s.Me) + " and " + turn +
           ". Lowering the back pressure further changes nothing inside the nozzle; only the "
           "expansion outside grows stronger.";
}

std::string describe(const FlowState& s, const CalcResult& result, bool backAboveReservoir)
{
    const std::string pe = "Pe/Po = " + formatGeneral(s.PePo);
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
            return pe + " lies between 1 and " + limitsLine(s) +
                   ". The nozzle is convergent, so the exit is the throat: the flow is subsonic "
                   "and speeds up all the way to M = " +
                   n4(s.Me) + " there, where p/p0 = Pe/Po. As the back pressure falls towards " +
                   n4(s.PePo_sub) + " the exit approaches Mach 1 and the nozzle chokes.";
        }
        return pe + " lies between 1 and the subsonic limit " + n4(s.PePo_sub) +
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
    case Regime::ObliqueExitShocks: return obliqueShocks(s, result.waves);
    case Regime::ExitExpansion: return expansion(s, result.waves);
    }
    return {};
}

} // namespace

} // namespace cdnozzle
