#include "gasdyn/normal_shock.h"

#include <cmath>

namespace cdnozzle {

double NS(const Gas& s, double M1)
{
    const double sq = M1 * M1;
    const double a = 1 + s.km1_2 * sq;
    const double b = s.k * sq - s.km1_2;
    return std::sqrt(a / b);
}

double P2P1fM1(const Gas& s, double M1)
{
    const double c = s.k2_kp1 * s.k;
    const double sq = M1 * M1;
    return 1 + c * (sq - 1);
}

} // namespace cdnozzle
