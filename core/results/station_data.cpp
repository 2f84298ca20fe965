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

int nearestStation(const FlowState& s, double x)
{
    int best = 1;
    for (int i = 2; i <= s.N_tot + 1; ++i) {
        if (std::fabs(s.x[i] - x) < std::fabs(s.x[best] - x)) best = i;
    }
    return best;
}

} // namespace cdnozzle
