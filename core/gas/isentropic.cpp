// SPDX-License-Identifier: MIT
#include "gas/isentropic.h"

#include <cmath>

namespace cdnozzle {

double AAfM(const Gas& s, double Mi)
{
    const double q = 1 / Mi;
    const double T = 1 + (s.km1_2 * Mi) * Mi;
    return q * std::pow(s.k2_kp1 * T, s.kp1_2km1);
}

double PoP(const Gas& s, double Mi)
{
    const double T = 1 + (s.km1_2 * Mi) * Mi;
    const double e = s.k / (s.k - 1);
    return std::pow(T, e);
}

double isentropicMachOfPressure(const Gas& s, double r)
{
    const double inverse = 1 / r;
    const double powered = std::pow(inverse, (s.k - 1) / s.k);
    return std::sqrt((powered - 1) * (2 / (s.k - 1)));
}

} // namespace cdnozzle
