#include "gasdyn/exact_shock.h"

#include "gasdyn/isentropic.h"
#include "gasdyn/normal_shock.h"

#include <cmath>

namespace cdnozzle {

namespace {

// d(A/A*)/dM = (A/A*) (M^2 - 1) / (M (1 + (k-1)/2 M^2)).
double areaSlope(const FlowState& s, double M, double area)
{
    return area * (M * M - 1) / (M * (1 + s.km1_2 * M * M));
}

// Exit pressure ratio pe/p01 with the shock standing where A/At = a.
double exitPressure(const FlowState& s, double a)
{
    const double M1 = machOfAreaRatio(s, a, true);
    const double M2 = NS(s, M1);
    const double ae = (s.AAe / a) * AAfM(s, M2);
    const double Mx = machOfAreaRatio(s, ae, false);
    return PoP(s, M2) * P2P1fM1(s, M1) / (PoP(s, M1) * PoP(s, Mx));
}

} // namespace

double machOfAreaRatio(const FlowState& s, double areaRatio, bool supersonic)
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

std::optional<ExactShock> exactShockPosition(const FlowState& s, double pepo)
{
    if (!(s.M_max > 1) || !(s.AAe > 1)) return std::nullopt;
    double lo = 1;     // throat: the highest exit pressure
    double hi = s.AAe; // exit: the lowest
    if (!(pepo <= exitPressure(s, lo) && pepo >= exitPressure(s, hi))) return std::nullopt;
    for (int n = 0; n < 200 && hi - lo > 1e-15 * hi; ++n) {
        const double mid = 0.5 * (lo + hi);
        if (exitPressure(s, mid) >= pepo)
            lo = mid;
        else
            hi = mid;
    }
    const double a = 0.5 * (lo + hi);
    return ExactShock{a, machOfAreaRatio(s, a, true)};
}

} // namespace cdnozzle
