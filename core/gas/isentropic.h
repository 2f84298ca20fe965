// SPDX-License-Identifier: MIT
// Closed-form relations of steady isentropic flow of a perfect gas. They read
// only the gas constants of the flow state and change nothing.
#pragma once

#include "gas/gas.h"

namespace cdnozzle {

// A/A* at Mach number Mi:
//   (1/Mi) * (2/(k+1) * (1 + (k-1)/2 * Mi^2)) ^ ((k+1)/(2(k-1))).
// 1 at Mi = 1, above 1 for every other positive Mi. Mi must not be 0 (the
// result would be infinite); no caller passes 0.
double AAfM(const Gas& s, double Mi);

// p0/p at Mach number Mi: (1 + (k-1)/2 * Mi^2) ^ (k/(k-1)). 1 at Mi = 0.
// Callers that want p/p0 form 1/PoP themselves.
double PoP(const Gas& s, double Mi);

// The Mach number of isentropic flow expanded from rest to the static
// pressure ratio r = p/p0 (0 < r <= 1):
//   sqrt(((1/r)^((k-1)/k) - 1) * (2/(k-1))).
double isentropicMachOfPressure(const Gas& s, double r);

} // namespace cdnozzle
