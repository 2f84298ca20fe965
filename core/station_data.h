// The station table as text, and the values under the cursor of a plot.
#pragma once

#include "flow_state.h"

#include <string>

namespace cdnozzle {

// "i,x,y,AA,M,PiPo" and one row for each station 1..N_tot+1, "." as the
// decimal point, every number so that it reads back as the same double.
std::string stationCsv(const FlowState& s);

enum class PlotKind { Geometry, Mach, Pressure };

// The station whose x is nearest to x (stations 1..N_tot+1).
int nearestStation(const FlowState& s, double x);

// For the status line: "x = 1.575, station 66: M = 1.6488" and the like,
// with y and A/At for the geometry plot, M for the Mach plot and p/p0 for
// the pressure plot.
std::string hoverReadout(const FlowState& s, PlotKind plot, double x);

} // namespace cdnozzle
