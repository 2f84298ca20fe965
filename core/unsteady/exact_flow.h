// SPDX-License-Identifier: MIT
// Exact solutions the unsteady flow is checked against: the steady flow in
// a contour for a back pressure (isentropic, with the normal shock placed
// exactly), and the Riemann problem of a shock tube.
#pragma once

#include "gas/gas.h"
#include "unsteady/contour.h"

#include <optional>

namespace cdnozzle {

enum class SteadyRegime {
    Subsonic,    // the throat not choked: subsonic everywhere
    ShockInside, // choked, a normal shock in the divergent part
    Supersonic,  // choked, supersonic from the throat to the exit
};

// The steady quasi-one-dimensional flow of a perfect gas from a reservoir
// (p0, T0) through the contour to the back pressure pb = p/p0 (0 < pb <= 1).
// Ratios are to the reservoir's values; mdot is over the choked mass flow
// of the throat, rho* a* At.
struct SteadyFlow {
    SteadyRegime regime = SteadyRegime::Subsonic;
    double pb = 1;
    double mdot = 0;           // mdot/mdot*, the same in every section
    double shockX = 0;         // where the shock stands (ShockInside)
    double shockArea = 0;      // its A/At
    double p02_p01 = 1;        // stagnation pressure behind it over p0
    double subsonicLimit = 1;  // pe/p0 of the just-choked subsonic flow
    double exitShockLimit = 0; // pe/p0 with the shock in the exit plane
    double designPressure = 0; // pe/p0 of the supersonic design flow
    double exitPressure = 1;   // pe/p0 of the flow inside (= pb unless supersonic)
};

SteadyFlow steadyFlow(const Gas& gas, const Contour& contour, double pb);

// Mach number and p/p0 of the steady flow at x; ahead of the shock at the
// shock itself.
struct SteadyPoint {
    double M = 0;
    double p = 1; // p/p0
};
SteadyPoint steadyPointAt(const Gas& gas, const Contour& contour, const SteadyFlow& flow, double x);

// The back pressure pe/p0 that stands the normal shock at x (throat < x <=
// exit), for choosing test cases and bars.
double backPressureForShockAt(const Gas& gas, const Contour& contour, double x);

// The exact solution of the Riemann problem of a shock tube: left and right
// states (density, velocity, pressure, any consistent units), sampled at
// x/t. Newton steps on the star pressure (Toro, ch. 4), at most 100.
struct GasState {
    double rho = 1, u = 0, p = 1;
};
GasState riemannSolution(double k, const GasState& left, const GasState& right, double xOverT);

} // namespace cdnozzle
