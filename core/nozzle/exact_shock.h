// SPDX-License-Identifier: MIT
// Where the continuous (grid-free) solution puts the normal shock for a back
// pressure: shows students how far the station grid's answer is from it.
#pragma once

#include "nozzle/flow_state.h"

#include <optional>

namespace cdnozzle {

// A normal shock standing where A/At = areaRatio in the divergent part of
// the nozzle of s, with the jet leaving the exit subsonic.
struct ExactShock {
    double areaRatio; // A/At at the shock
    double x;         // its abscissa: the design Mach number at that area (M1)
    double M1;        // just ahead of the shock
    double M2;        // just behind it
    double p02_p01;   // stagnation-pressure ratio across it
    double Me;        // Mach number at the exit behind it
    double PePo;      // exit pressure over the reservoir's stagnation pressure
    bool operator==(const ExactShock&) const = default;
};
ExactShock shockStandingAt(const FlowState& s, double areaRatio);

// The shock position whose exit pressure pe/p01 equals pepo (bracketed
// secant steps on the area ratio between the throat, 1, and the exit, AAe,
// at most 200). Nothing when pepo lies outside the exit pressures of a shock
// at the throat and at the exit, or the nozzle is not supersonic
// (M_max <= 1).
std::optional<ExactShock> exactShockPosition(const FlowState& s, double pepo);

} // namespace cdnozzle
