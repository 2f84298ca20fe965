// SPDX-License-Identifier: MIT
#include "results/station_data.h"

#include "results/flow_figures.h"
#include "text/number_text.h"

#include <cmath>

namespace cdnozzle {

std::array<double, kStationColumns.size()> stationRow(const FlowState& s, int i)
{
    const StationQuantities q = stationQuantities(s, s.M[i], s.PiPo[i]);
    return {static_cast<double>(i),
            s.x[i],
            s.y[i],
            s.AA[i],
            s.M[i],
            s.PiPo[i],
            q.T_T0,
            q.rho_rho0,
            q.V_astar};
}

std::string stationTable(const FlowState& s, char separator)
{
    std::string table;
    for (const StationColumn& c : kStationColumns) {
        if (!table.empty()) table += separator;
        table += c.name;
    }
    table += '\n';
    for (int i = 1; i <= s.N_tot + 1; ++i) {
        table += std::to_string(i);
        const auto row = stationRow(s, i);
        for (std::size_t c = 1; c < row.size(); ++c) {
            table += separator;
            table += formatRoundTrip(row[c]);
        }
        table += '\n';
    }
    return table;
}

std::string stationCsv(const FlowState& s)
{
    return stationTable(s, ',');
}

std::string cellsCsv(const UnsteadyFlow& flow)
{
    const auto number = [](double v) { return formatGeneral(std::isfinite(v) ? v : 0); };
    std::string out = "x,A/At,rho/rho0,u/a0,p/p0,T/T0,M,mdot/mdot*\n";
    for (const CellValues& c : flow.cells()) {
        for (const double v : {c.x, c.area, c.rho, c.u, c.p, c.T, c.M}) out += number(v) + ",";
        out += number(c.mdot) + "\n";
    }
    return out;
}

int nearestStation(const FlowState& s, double x)
{
    int best = 1;
    for (int i = 2; i <= s.N_tot + 1; ++i) {
        if (std::fabs(s.x[i] - x) < std::fabs(s.x[best] - x)) best = i;
    }
    return best;
}

} // namespace cdnozzle
