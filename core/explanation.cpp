#include "explanation.h"

#include "flow_figures.h"
#include "gasdyn/exact_shock.h"
#include "gasdyn/isentropic.h"
#include "number_text.h"

#include <cmath>

namespace cdnozzle {

namespace {

std::string n4(double v)
{
    return formatRounded4(v);
}

// The Mach angle asin(1/M) of a supersonic flow.
double machAngle(double M)
{
    return std::asin(1 / M);
}

std::string limitsLine(const FlowState& s)
{
    return "subsonic limit " + n4(s.PePo_sub) + ", normal-shock limit " + n4(s.PePo_NS) +
           ", design pressure ratio " + n4(s.PePo_OS);
}

// The shock's station, its grid x and, where it can be had, the grid-free x.
std::string shockPlace(const FlowState& s)
{
    std::string text = "at station " + std::to_string(s.i_NS) + " (x = " + n4(s.x[s.i_NS]);
    if (const auto exact = exactShockPosition(s, s.PePo)) text += "; exact x = " + n4(exact->x);
    return text + ")";
}

// The jump across a normal shock from M1 at p1/p0 to M2 at p2/p0.
std::string shockJump(const FlowState& s, double M1, double p1, double M2, double p2)
{
    // p02/p01 = (p2/p01) * (p02/p2).
    const double r0 = p2 * PoP(s, M2);
    return "M drops from " + n4(M1) + " to " + n4(M2) + " and p/p0 jumps from " + n4(p1) + " to " +
           n4(p2) + "; the stagnation pressure falls by " + formatFixed((1 - r0) * 100, 1) +
           " % (p02/p01 = " + n4(r0) + ")";
}

} // namespace

namespace {

std::string describe(const FlowState& s, const CalcResult& result);

} // namespace

std::string explainFlow(const FlowState& s, const CalcResult& result)
{
    std::string text = describe(s, result);
    if (text.empty() || result.regime == Regime::NoFlow) return text;
    // The whole nozzle's figures, on a line of their own.
    const NozzleFigures f = nozzleFigures(s, result.regime);
    text += "\nMass flow " + n4(f.mdot_ratio) + " of the choked mass flow; thrust coefficient C_F = " +
            n4(f.C_F) + " (momentum " + n4(f.C_F_momentum) + ", pressure " + n4(f.C_F_pressure) +
            "); exit-plane to back pressure pe/pb = " + n4(f.pe_pb) + ".";
    return text;
}

namespace {

std::string describe(const FlowState& s, const CalcResult& result)
{
    const std::string pe = "Pe/Po = " + formatGeneral(s.PePo);
    const int e = s.N_tot;
    const int t = s.N_conv;
    switch (result.regime) {
    case Regime::NotCalculated:
    case Regime::NotClassified: return {};
    case Regime::NoFlow:
        return pe + ": the back pressure equals the reservoir pressure, above every limit (" +
               limitsLine(s) +
               "). Nothing moves: M = 0 and p/p0 = 1 all along the nozzle. As the back pressure "
               "falls, the gas starts to flow, fastest at the throat.";
    case Regime::SubsonicThroughout:
        return pe + " lies between 1 and the subsonic limit " + n4(s.PePo_sub) +
               ". The flow is subsonic everywhere: it speeds up to M = " + n4(s.M[t]) +
               " at the throat, where the pressure is lowest (p/p0 = " + n4(s.PiPo[t]) +
               "), and slows down again in the divergent part to M = " + n4(s.Me) +
               " at the exit, where p/p0 = Pe/Po. As the back pressure falls towards " +
               n4(s.PePo_sub) + " the throat approaches Mach 1 and the nozzle chokes.";
    case Regime::ChokedSubsonic:
        return pe + " is exactly the subsonic limit: the throat has just reached Mach 1 (p/p0 = " +
               n4(s.PiPo[t]) +
               ") and the mass flow its largest value, while the divergent part slows the flow "
               "down again, subsonic, to M = " +
               n4(s.Me) +
               " at the exit. Below this back pressure the flow goes on accelerating past the "
               "throat and a normal shock appears in the divergent part.";
    case Regime::NormalShockInside: {
        const int i = s.i_NS;
        return pe + " lies between the subsonic limit " + n4(s.PePo_sub) +
               " and the normal-shock limit " + n4(s.PePo_NS) +
               ". The throat is choked (M = 1) and the flow is supersonic behind it up to a normal "
               "shock " +
               shockPlace(s) + ": " + shockJump(s, s.M[i], s.PiPo[i], s.Me, s.PePo_e) +
               ". Behind the shock the flow is subsonic and slows down to M = " + n4(s.M[e]) +
               " at the exit. As the back pressure falls the shock moves downstream and grows "
               "stronger, until at " +
               n4(s.PePo_NS) + " it stands in the exit plane.";
    }
    case Regime::NormalShockAtExit:
        return pe + " lies at the normal-shock limit " + n4(s.PePo_NS) +
               " (the band up to 0.0001 above it): the divergent part is supersonic throughout "
               "and a normal shock stands in the exit plane, where " +
               shockJump(s, s.M[e], s.PiPo[e], s.Me, s.PePo) +
               ". As the back pressure falls further the shock leaves the nozzle and turns into "
               "oblique shocks at the exit lips.";
    case Regime::ObliqueExitShocks: {
        const double beta = result.obliqueShockAngle;
        return pe + " lies between the normal-shock limit " + n4(s.PePo_NS) +
               " and the design pressure ratio " + n4(s.PePo_OS) +
               ". The flow is supersonic from the throat to the exit and leaves at the design "
               "Mach number " +
               n4(s.M_max) + " with p/p0 = " + n4(s.PePo_OS) +
               ", below the back pressure: the jet is over-expanded. Oblique shocks at the exit "
               "lips, at " +
               formatDegrees(beta) + " to the flow, turn it by " + formatDegrees(result.obliqueShockDeflection) +
               " and raise its pressure to Pe/Po; behind them the jet moves at M = " + n4(s.Me) +
               ". As the back pressure falls the shocks weaken and lean over, until at " +
               n4(s.PePo_OS) + " they vanish.";
    }
    case Regime::ExitExpansion:
        if (s.PePo == s.PePo_OS) {
            return pe + " is the design pressure ratio: the flow is supersonic from the throat "
                        "to the exit and leaves at the design Mach number " +
                   n4(s.M_max) +
                   " with exactly the back pressure, so no shock or expansion stands at the exit "
                   "(the lines mark the Mach angle " +
                   formatDegrees(machAngle(s.M_max)) +
                   "). Below this back pressure the jet leaves under-expanded and expands "
                   "outside the nozzle.";
        }
        return pe + " lies below the design pressure ratio " + n4(s.PePo_OS) +
               ": the flow leaves the exit at the design Mach number " + n4(s.M_max) +
               " with p/p0 = " + n4(s.PePo_OS) +
               ", above the back pressure, so the jet is under-expanded. Expansion waves at the "
               "exit lips, drawn at the Mach angles " +
               formatDegrees(machAngle(s.M_max)) + " (M = " + n4(s.M_max) + ") and " +
               formatDegrees(machAngle(s.Me)) + " (M = " + n4(s.Me) +
               "), lower its pressure to Pe/Po and speed it up to M = " + n4(s.Me) +
               ". Lowering the back pressure further changes nothing inside the nozzle; only the "
               "expansion outside grows stronger.";
    }
    return {};
}

} // namespace

} // namespace cdnozzle
