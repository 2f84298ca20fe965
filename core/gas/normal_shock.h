// SPDX-License-Identifier: MIT
// Jump relations of a stationary normal shock in a perfect gas.
#pragma once

#include "gas/gas.h"

namespace cdnozzle {

// M2 behind the shock: sqrt((1 + (k-1)/2 M1^2) / (k M1^2 - (k-1)/2)).
// 1 at M1 = 1. For 0.378 < M1 < 1 it gives the formal value of an expansion
// shock; at or below sqrt((k-1)/(2k)) = 0.378 the result is NaN or infinite.
// Callers pass M1 >= 1.
double NS(const Gas& s, double M1);

// The same from M1^2 already formed (the normal component of an oblique
// shock comes as its square): NS(s, M1) is NSofSquare(s, M1 * M1).
double NSofSquare(const Gas& s, double M1squared);

// p2/p1 across the shock: 1 + 2k/(k+1) (M1^2 - 1). 1 at M1 = 1.
double P2P1fM1(const Gas& s, double M1);

// p02/p01 across the shock, (PoP(M2) * P2P1fM1(M1)) / PoP(M1) in this order
// with M2 = NS(M1): 1 at M1 = 1, falling towards 0 as M1 grows (0.72087 at
// Mach 2 in air). Callers pass M1 >= 1.
double stagnationPressureRatio(const Gas& s, double M1);

} // namespace cdnozzle
