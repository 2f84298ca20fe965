// SPDX-License-Identifier: MIT
#include "results/flow_figures.h"

#include "gas/isentropic.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

StationQuantities stationQuantities(const Gas& gas, double M, double PiPo)
{
    const double T = 1 / (1 + gas.km1_2 * M * M);
    return {T, PiPo / T, M * std::sqrt((gas.k + 1) / 2 * T)};
}

NozzleFigures nozzleFigures(const FlowState& s, const CalcResult& result)
{
    const int e = s.N_tot;
    const Regime regime = result.regime;
    NozzleFigures f{};
    f.pe_pb = s.PiPo[e] / s.PePo;
    f.pe_p0 = s.PiPo[e];
    if (regime == Regime::NoFlow || regime == Regime::NotCalculated) return f;
    // In the exit-shock band too the shock stands inside, if just.
    const bool shockInside =
        (regime == Regime::NormalShockInside || regime == Regime::NormalShockAtExit) &&
        result.exactShock;
    if (regime == Regime::SubsonicThroughout || regime == Regime::ChokedSubsonic || shockInside) {
        const double Me = shockInside ? result.exactShock->Me : isentropicMachOfPressure(s, s.PePo);
        // The sonic area of a subsonic flow over the throat's: the mass flow
        // it carries over what a sonic throat would carry.
        f.mdot_ratio =
            regime == Regime::SubsonicThroughout ? std::min(1.0, s.AAe / AAfM(s, Me)) : 1;
        f.pe_pb = 1;
        f.Me = Me;
        f.pe_p0 = s.PePo;
        f.C_F_momentum = s.k * s.PePo * Me * Me * s.AAe;
        f.C_F_pressure = 0;
        f.C_F = f.C_F_momentum;
        return f;
    }
    f.mdot_ratio = 1;
    f.Me = s.M[e];
    f.C_F_momentum = s.k * s.PiPo[e] * s.M[e] * s.M[e] * s.AAe;
    f.C_F_pressure = (s.PiPo[e] - s.PePo) * s.AAe;
    f.C_F = f.C_F_momentum + f.C_F_pressure;
    return f;
}

} // namespace cdnozzle
