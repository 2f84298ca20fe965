// SPDX-License-Identifier: MIT
#include "gas/normal_shock.h"

#include "gas/isentropic.h"

#include <cmath>

namespace cdnozzle {

double NS(const Gas& s, double M1)
{
    return NSofSquare(s, M1 * M1);
}

double NSofSquare(const Gas& s, double M1squared)
{
    const double a = 1 + s.km1_2 * M1squared;
    const double b = s.k * M1squared - s.km1_2;
    return std::sqrt(a / b);
}

double P2P1fM1(const Gas& s, double M1)
{
    const double c = s.k2_kp1 * s.k;
    const double sq = M1 * M1;
    return 1 + c * (sq - 1);
}

double stagnationPressureRatio(const Gas& s, double M1)
{
    const double P1 = PoP(s, M1);
    const double p21 = P2P1fM1(s, M1);
    const double P2 = PoP(s, NS(s, M1));
    return (P2 * p21) / P1;
}

} // namespace cdnozzle
