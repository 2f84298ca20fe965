// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>

namespace cdnozzle {

// ln x and x^y (x > 0) from additions, multiplications, divisions and
// exact scalings only, so that every machine gives the same bits: the
// system's pow and log differ in the last bit between libraries and between
// processors (with or without fused multiply-add), and over thousands of
// steps a last bit grows until the window, the page and the report would
// show different flows. Within 1e-15 of the exact values.
inline constexpr double kLn2Hi = 0.693147180369123816490; // ln 2, its leading bits
inline constexpr double kLn2Lo = 1.90821492927058770002e-10;

inline double portableLog(double x)
{
    int e = 0;
    double m = std::frexp(x, &e); // x = m 2^e, m in [1/2, 1)
    if (m < 0.70710678118654752440) {
        m *= 2;
        --e;
    }
    // ln m = 2 atanh(s), s = (m - 1) / (m + 1), |s| < 0.172.
    const double s = (m - 1) / (m + 1), s2 = s * s;
    double sum = 0;
    for (int n = 11; n >= 0; --n) sum = sum * s2 + 1.0 / (2 * n + 1);
    return e * kLn2Hi + (2 * s * sum + e * kLn2Lo);
}

inline double portablePow(double x, double y)
{
    const double t = y * portableLog(x);
    // e^t = 2^n e^r, |r| <= ln2 / 2, e^r by its series.
    const double n = std::nearbyint(t / (kLn2Hi + kLn2Lo));
    const double r = (t - n * kLn2Hi) - n * kLn2Lo;
    double sum = 1;
    for (int j = 17; j >= 1; --j) sum = 1 + sum * r / j;
    return std::ldexp(sum, static_cast<int>(n));
}

} // namespace cdnozzle
