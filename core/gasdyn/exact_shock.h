// Grid-free answers: the inversions of the area relation to full precision,
// and where the continuous solution puts the normal shock for a back
// pressure, which shows students how far the station grid's answer is.
#pragma once

#include "flow_state.h"

#include <optional>

namespace cdnozzle {

// The Mach number whose isentropic area ratio A/A* is areaRatio (>= 1), on
// the subsonic or supersonic branch, to full double precision (safeguarded
// Newton steps inside a bracket, at most 200). 1 for areaRatio <= 1.
double machOfAreaRatio(const Gas& s, double areaRatio, bool supersonic);

// The subsonic Mach number whose isentropic area ratio equals that of the
// Mach number M >= 1: the exit Mach number of the just-choked subsonic flow
// through a nozzle designed for M. Solved on the logarithm of the area
// relation written with log1p, where nothing cancels next to Mach 1, so the
// result is within a few units in the last place for every M (1 at M = 1).
double subsonicTwinMach(const Gas& s, double M);

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
