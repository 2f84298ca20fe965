// The station table as text, and the values under the cursor of a plot.
#pragma once

#include "nozzle/flow_state.h"

#include <string>

namespace cdnozzle {

// "i,x,y,AA,M,PiPo,T_T0,rho_rho0,V_astar" and one row for each station
// 1..N_tot+1, "." as the
// decimal point, every number so that it reads back as the same double.
std::string stationCsv(const FlowState& s);

enum class PlotKind { Geometry, Mach, Pressure };

// The station whose x is nearest to x (stations 1..N_tot+1).
int nearestStation(const FlowState& s, double x);

// For the status line: "x = 1.575, station 66: M = 1.575, p/p0 = 0.2441,
// T/T0 = ..., ρ/ρ0 = ..., V/a* = ..." and the like: the plot's own
// quantity first (y and A/At for the geometry plot), then all the others.
std::string hoverReadout(const FlowState& s, PlotKind plot, double x);

} // namespace cdnozzle
