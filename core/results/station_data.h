// SPDX-License-Identifier: MIT
// The station table (one description of its row for the CSV file, the
// report's table, the JSON and the page), and the cells of the flow in time
// as a CSV file.
#pragma once

#include "nozzle/flow_state.h"
#include "unsteady/unsteady_flow.h"

#include <array>
#include <string>
#include <string_view>

namespace cdnozzle {

// A column of the station table: its name, and what it holds.
struct StationColumn {
    std::string_view name;
    std::string_view meaning;
};

// The station table's columns, in order.
inline constexpr std::array kStationColumns{
    StationColumn{"i", "station: 1 to N; the last, N+1, is a run-out 0.1 behind the exit"},
    StationColumn{"x", "position on the axis: the throat at 1, the exit at Me_Sup"},
    StationColumn{"y", "wall half-height, AA/2"},
    StationColumn{"AA", "area ratio A/At"},
    StationColumn{"M", "Mach number"},
    StationColumn{"PiPo", "pressure ratio p/p0"},
    StationColumn{"T_T0", "temperature ratio T/T0"},
    StationColumn{"rho_rho0", "density ratio rho/rho0"},
    StationColumn{"V_astar", "velocity over the critical speed of sound, V/a*"},
};

// Station i's row, in the columns' order (i itself first).
std::array<double, kStationColumns.size()> stationRow(const FlowState& s, int i);

// The column names, then one row for each station 1..N_tot+1, the values
// separated by separator: "." as the decimal point, every number so that it
// reads back as the same double.
std::string stationTable(const FlowState& s, char separator);

// The table as a CSV file: stationTable with ",".
std::string stationCsv(const FlowState& s);

// The cells of the flow in time as a CSV file: the column names
// (x,A/At,rho/rho0,u/a0,p/p0,T/T0,M,mdot/mdot*), then one row for each cell
// from the inlet, every number written as the report writes it (a value
// that is not finite as 0).
std::string cellsCsv(const UnsteadyFlow& flow);

// The station whose x is nearest to x (stations 1..N_tot+1).
int nearestStation(const FlowState& s, double x);

} // namespace cdnozzle
