#include "results/station_data.h"

#include "results/flow_figures.h"
#include "text/number_text.h"

#include <cmath>

namespace cdnozzle {

std::string stationCsv(const FlowState& s)
{
    std::string csv = "i,x,y,AA,M,PiPo,T_T0,rho_rho0,V_astar\n";
    for (int i = 1; i <= s.N_tot + 1; ++i) {
        csv += std::to_string(i);
        const StationQuantities q = stationQuantities(s, s.M[i], s.PiPo[i]);
        for (double v : {s.x[i], s.y[i], s.AA[i], s.M[i], s.PiPo[i], q.T_T0, q.rho_rho0, q.V_astar}) {
            csv += ',';
            csv += formatRoundTrip(v);
        }
        csv += '\n';
    }
    return csv;
}

int nearestStation(const FlowState& s, double x)
{
    int best = 1;
    for (int i = 2; i <= s.N_tot + 1; ++i) {
        if (std::fabs(s.x[i] - x) < std::fabs(s.x[best] - x)) best = i;
    }
    return best;
}

std::string hoverReadout(const FlowState& s, PlotKind plot, double x)
{
    auto four = formatShown;
    const int i = nearestStation(s, x);
    std::string text = "x = " + four(x) + ", station " + std::to_string(i) + ": ";
    const StationQuantities q = stationQuantities(s, s.M[i], s.PiPo[i]);
    // The plot's own quantity first, then the others of the station.
    const std::string M = "M = " + four(s.M[i]);
    const std::string p = "p/p0 = " + four(s.PiPo[i]);
    const std::string rest = "T/T0 = " + four(q.T_T0) + ", ρ/ρ0 = " + four(q.rho_rho0) +
                             ", V/a* = " + four(q.V_astar);
    switch (plot) {
    case PlotKind::Geometry:
        if (i > s.N_tot) return text + "behind the exit: " + M + ", " + p + ", " + rest;
        return text + "y = " + four(s.y[i]) + ", A/At = " + four(s.AA[i]) + ", " + M + ", " + p +
               ", " + rest;
    case PlotKind::Mach: return text + M + ", " + p + ", " + rest;
    case PlotKind::Pressure: return text + p + ", " + M + ", " + rest;
    }
    return text;
}

} // namespace cdnozzle
