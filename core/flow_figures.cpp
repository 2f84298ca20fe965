#include "flow_figures.h"

#include "gasdyn/isentropic.h"

#include <cmath>

namespace cdnozzle {

StationQuantities stationQuantities(const Gas& gas, double M, double PiPo)
{
    const double T = 1 / (1 + gas.km1_2 * M * M);
    return {T, PiPo / T, M * std::sqrt((gas.k + 1) / 2 * T)};
}

NozzleFigures nozzleFigures(const FlowState& s, Regime regime)
{
    const int e = s.N_tot;
    NozzleFigures f{};
    f.pe_pb = s.PiPo[e] / s.PePo;
    if (regime == Regime::NoFlow || regime == Regime::NotCalculated) return f;
    if (regime == Regime::SubsonicThroughout) {
        // The sonic area of this subsonic flow over the throat's: the mass
        // flow it carries over what a sonic throat would carry.
        f.mdot_ratio = s.AAe / AAfM(s, isentropicMachOfPressure(s, s.PePo));
    } else {
        f.mdot_ratio = 1;
    }
    f.C_F_momentum = s.k * s.PiPo[e] * s.M[e] * s.M[e] * s.AAe;
    f.C_F_pressure = (s.PiPo[e] - s.PePo) * s.AAe;
    f.C_F = f.C_F_momentum + f.C_F_pressure;
    return f;
}

} // namespace cdnozzle
