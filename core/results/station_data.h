// SPDX-License-Identifier: MIT
// The station table (one description of its row for the CSV file, the
// report's table, the JSON and the page), and the values under the cursor
// of a plot.
#pragma once

#include "nozzle/flow_state.h"

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

// Which plot: the geometry, the Mach number, or the third plot.
enum class PlotKind { Geometry, Mach, Third };

// What the third plot shows: p/p0 (the default), T/T0 or rho/rho0 along
// the nozzle, or an engine's thrust and I_sp against altitude.
enum class PlotQuantity { Pressure, Temperature, Density, Thrust };
// "p/p0", "T/T0", "ρ/ρ0", "F, I_sp".
std::string_view quantityCaption(PlotQuantity quantity);

// The station whose x is nearest to x (stations 1..N_tot+1).
int nearestStation(const FlowState& s, double x);

// For the status line: "x = 1.575, station 66: M = 1.575, p/p0 = 0.2441,
// T/T0 = ..., ρ/ρ0 = ..., V/a* = ..." and the like: the plot's own
// quantity first (y and A/At for the geometry plot; for the third plot the
// quantity it shows), then all the others.
std::string hoverReadout(const FlowState& s, PlotKind plot, double x,
                         PlotQuantity third = PlotQuantity::Pressure);

} // namespace cdnozzle
