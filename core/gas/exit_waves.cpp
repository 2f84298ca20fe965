// SPDX-License-Identifier: MIT
#include "gas/exit_waves.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

double obliqueDeflection(const Gas& s, double M1, double beta)
{
    const double Mt = M1 * std::sin(beta);
    return std::atan(2 * (Mt * Mt - 1) /
                     (std::tan(beta) * (M1 * M1 * (s.k + std::cos(2 * beta)) + 2)));
}

MaxDeflection maxDeflection(const Gas& s, double M1)
{
    // sin^2 beta* = ((k+1) M^2 - 4 + sqrt((k+1)((k+1) M^4 + 8(k-1) M^2 + 16))) / (4 k M^2).
    const double k = s.k;
    const double m2 = M1 * M1;
    const double root = std::sqrt((k + 1) * ((k + 1) * m2 * m2 + 8 * (k - 1) * m2 + 16));
    const double sin2 = ((k + 1) * m2 - 4 + root) / (4 * k * m2);
    const double beta = std::asin(std::sqrt(std::min(1.0, sin2)));
    return {beta, obliqueDeflection(s, M1, beta)};
}

double prandtlMeyer(const Gas& s, double M)
{
    const double k = s.k;
    const double m = std::sqrt(M * M - 1);
    const double c = std::sqrt((k + 1) / (k - 1));
    return c * std::atan(m / c) - std::atan(m);
}

} // namespace cdnozzle
