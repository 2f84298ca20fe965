// SPDX-License-Identifier: MIT
#include "gas/area_mach.h"

#include "gas/isentropic.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cdnozzle {

std::string notConvergedMessage()
{
    return "iterasyon " + std::to_string(kIterationLimit) + " adımda yakınsamadı";
}

double M_iter(const Gas& s, double AAr, double Mr, std::string_view rejim,
              const NotConvergedHandler& notConverged)
{
    constexpr double tolerance = 0.00001;
    double M_new = 1;
    if (rejim == kSesAlti) {
        for (int n = 1; n <= kIterationLimit; ++n) {
            const double M_old = M_new;
            const double T_r = 1 + (s.km1_2 * Mr) * Mr;
            const double T = 1 + (s.km1_2 * M_old) * M_old;
            M_new = (Mr / AAr) * std::pow(T / T_r, s.kp1_2km1);
            if (std::fabs(M_new - M_old) < tolerance) return M_new;
        }
    } else if (rejim == kSesUstu) {
        for (int n = 1; n <= kIterationLimit; ++n) {
            const double M_old = M_new;
            const double T_r = 1 + (s.km1_2 * Mr) * Mr;
            M_new = std::sqrt((std::pow((AAr * M_old) / Mr, s.kp1_2km1_inv) * T_r - 1) / s.km1_2);
            if (std::fabs(M_new - M_old) < tolerance) return M_new;
        }
    }
    if (notConverged) notConverged(notConvergedMessage());
    return M_new;
}

namespace {

// d(A/A*)/dM = (A/A*) (M^2 - 1) / (M (1 + (k-1)/2 M^2)).
double areaSlope(const Gas& s, double M, double area)
{
    return area * (M * M - 1) / (M * (1 + s.km1_2 * M * M));
}

// ln(A/A*) = (k+1)/(2(k-1)) ln(1 + (k-1)/(k+1) (M^2 - 1)) - ln M. Next to
// Mach 1 both terms are close to M - 1 and their difference is of the order
// (M - 1)^2, which log1p keeps to full relative precision; A/A* - 1 itself
// would have lost half the digits.
double logAreaRatio(const Gas& s, double M)
{
    const double a = s.k2_kp1 * s.km1_2; // (k-1)/(k+1)
    return s.kp1_2km1 * std::log1p(a * ((M - 1) * (M + 1))) - std::log(M);
}

} // namespace

double machOfAreaRatio(const Gas& s, double areaRatio, bool supersonic)
{
    if (!(areaRatio > 1)) return 1;
    // Bracket: A/A* grows without bound towards 0 and towards infinity.
    double lo = supersonic ? 1 : 0;
    double hi = 1;
    if (supersonic) {
        hi = 2;
        for (int n = 0; n < 200 && AAfM(s, hi) < areaRatio; ++n) hi *= 2;
    }
    double M = supersonic ? hi : 0.5 / areaRatio;
    for (int n = 0; n < 200; ++n) {
        const double area = AAfM(s, M);
        const double f = area - areaRatio;
        if (f == 0) return M;
        // Keep the root bracketed: A/A* falls with M below 1 and rises above.
        if ((f > 0) == supersonic)
            hi = M;
        else
            lo = M;
        double next = M - f / areaSlope(s, M, area);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (next == M || hi - lo <= 1e-16 * hi) return next;
        M = next;
    }
    return M;
}

double subsonicTwinMach(const Gas& s, double M)
{
    const double target = logAreaRatio(s, M);
    if (!(target > 0)) return 1;
    // ln(A/A*) falls from infinity at 0 to 0 at Mach 1: one root in (0, 1).
    // Start next to it: ln(A/A*) ~ (1 - (k-1)/(k+1)) (M - 1)^2 near Mach 1,
    // ~ ln(k2_kp1^kp1_2km1 / M) near 0.
    const double a = s.k2_kp1 * s.km1_2;
    double guess = 1 - std::sqrt(target / (1 - a));
    if (!(guess > 0.5)) guess = std::exp(s.kp1_2km1 * std::log(s.k2_kp1) - target);
    double lo = 0, hi = 1;
    double m = std::clamp(guess, 1e-300, 1 - 1e-16);
    for (int n = 0; n < 200; ++n) {
        const double f = logAreaRatio(s, m) - target;
        if (f == 0) return m;
        if (f > 0)
            lo = m;
        else
            hi = m;
        // d ln(A/A*)/dM = (M^2 - 1) / (M (1 + (k-1)/2 M^2)).
        const double slope = ((m - 1) * (m + 1)) / (m * (1 + s.km1_2 * m * m));
        double next = m - f / slope;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (next == m || std::nextafter(lo, 1.0) >= hi) return next;
        // Newton's last step is below the rounding of f: one more, then stop.
        if (std::fabs(next - m) <= 4 * std::numeric_limits<double>::epsilon() * m) {
            m = next;
            break;
        }
        m = next;
    }
    return m;
}

} // namespace cdnozzle
