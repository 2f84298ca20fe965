// SPDX-License-Identifier: MIT
// The exit of a nozzle with a normal shock standing in its divergent part:
// isentropic supersonic flow to the shock, the jump, isentropic subsonic
// flow behind it to the exit. The shock search (on the station grid, with
// the stations' inversion) and the exact shock position (continuous, to
// full precision) both take it from here.
#pragma once

#include "gas/isentropic.h"
#include "gas/normal_shock.h"

namespace cdnozzle {

struct ShockExit {
    double M2;   // just behind the shock
    double Me;   // at the exit
    double PePo; // exit pressure over the reservoir's stagnation pressure
};

// A shock at Mach M1 where the exit area is exitOverShockArea times the
// shock's; subsonicMachOf(A/A*) inverts the area relation on the subsonic
// branch. pe/p01 = (((1/PoP(Me)) PoP(M2)) P2P1fM1(M1)) / PoP(M1), in this
// order.
template <class SubsonicMachOf>
ShockExit shockExit(const Gas& s, double M1, double exitOverShockArea,
                    SubsonicMachOf subsonicMachOf)
{
    const double M2 = NS(s, M1);
    const double r1 = PoP(s, M1);      // p01/p1
    const double r21 = P2P1fM1(s, M1); // p2/p1
    const double r2 = PoP(s, M2);      // p02/p2
    // The exit area over the sonic area of the flow behind the shock.
    const double Me = subsonicMachOf(exitOverShockArea * AAfM(s, M2));
    const double rx = PoP(s, Me); // p02/pe
    return {M2, Me, (((1 / rx) * r2) * r21) / r1};
}

} // namespace cdnozzle
