#include "station_data.h"

#include "number_text.h"

#include <cmath>

namespace cdnozzle {

std::string stationCsv(const FlowState& s)
{
    std::string csv = "i,x,y,AA,M,PiPo\n";
    for (int i = 1; i <= s.N_tot + 1; ++i) {
        csv += std::to_string(i);
        for (double v : {s.x[i], s.y[i], s.AA[i], s.M[i], s.PiPo[i]}) {
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
    auto four = formatRounded4;
    const int i = nearestStation(s, x);
    std::string text = "x = " + four(x) + ", station " + std::to_string(i) + ": ";
    switch (plot) {
    case PlotKind::Geometry:
        if (i > s.N_tot) return text + "behind the exit";
        return text + "y = " + four(s.y[i]) + ", A/At = " + four(s.AA[i]);
    case PlotKind::Mach: return text + "M = " + four(s.M[i]);
    case PlotKind::Pressure: return text + "p/p0 = " + four(s.PiPo[i]);
    }
    return text;
}

} // namespace cdnozzle
