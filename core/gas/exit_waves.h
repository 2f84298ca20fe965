// SPDX-License-Identifier: MIT
// The waves at the exit lips of a supersonic jet: oblique shocks of the
// over-expanded jet and the Prandtl-Meyer expansion of the under-expanded
// one.
#pragma once

#include "gas/gas.h"

namespace cdnozzle {

// The flow deflection theta of an oblique shock at angle beta (radians) in a
// flow at Mach M1, from the theta-beta-M relation
//   tan theta = 2 cot beta (M1^2 sin^2 beta - 1) / (M1^2 (k + cos 2 beta) + 2).
// 0 at the Mach angle and at 90 degrees; negative (no shock) below the Mach
// angle.
double obliqueDeflection(const Gas& s, double M1, double beta);

// The largest deflection an attached oblique shock can give a flow at Mach
// M1 > 1, and the shock angle at which it does. Shock angles above it are
// the strong branch (a subsonic flow behind the shock).
struct MaxDeflection {
    double beta;  // radians
    double theta; // radians
};
MaxDeflection maxDeflection(const Gas& s, double M1);

// The Prandtl-Meyer angle nu(M) in radians: 0 at M = 1, growing with M
// towards (sqrt((k+1)/(k-1)) - 1) pi/2. M >= 1 (below 1 there is none: NaN).
double prandtlMeyer(const Gas& s, double M);

} // namespace cdnozzle
