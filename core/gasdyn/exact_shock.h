// Where the continuous (grid-free) solution puts the normal shock for a back
// pressure: shows students how far the station grid's answer is from it.
#pragma once

#include "flow_state.h"

#include <optional>

namespace cdnozzle {

// The Mach number whose isentropic area ratio A/A* is areaRatio (>= 1), on
// the subsonic or supersonic branch, to full double precision (safeguarded
// Newton steps inside a bracket, at most 200). 1 for areaRatio <= 1.
double machOfAreaRatio(const FlowState& s, double areaRatio, bool supersonic);

struct ExactShock {
    double areaRatio; // A/At at the shock
    double x;         // its abscissa: the design Mach number at that area
};

// The shock position whose exit pressure pe/p01 equals pepo, by bisection on
// the area ratio between the throat (1) and the exit (AAe), 200 halvings at
// most. Nothing when pepo lies outside the exit pressures of a shock at the
// throat and at the exit, or the nozzle is not supersonic (M_max <= 1).
std::optional<ExactShock> exactShockPosition(const FlowState& s, double pepo);

} // namespace cdnozzle
