// SPDX-License-Identifier: MIT
#include "nozzle/exact_shock.h"

#include "gas/area_mach.h"
#include "gas/normal_shock.h"
#include "nozzle/shock_exit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cdnozzle {

ExactShock shockStandingAt(const FlowState& s, double areaRatio)
{
    ExactShock shock{};
    shock.areaRatio = areaRatio;
    shock.M1 = machOfAreaRatio(s, areaRatio, true);
    shock.x = shock.M1;
    shock.p02_p01 = stagnationPressureRatio(s, shock.M1);
    const auto subsonicMachOf = [&](double area) { return machOfAreaRatio(s, area, false); };
    const ShockExit exit = shockExit(s, shock.M1, s.AAe / areaRatio, subsonicMachOf);
    shock.M2 = exit.M2;
    shock.Me = exit.Me;
    shock.PePo = exit.PePo;
    return shock;
}

std::optional<ExactShock> exactShockPosition(const FlowState& s, double pepo)
{
    if (!(s.M_max > 1) || !(s.AAe > 1)) return std::nullopt;
    // The exit pressure falls as the shock moves from the throat to the exit.
    double lo = 1, hi = s.AAe;
    double flo = shockStandingAt(s, lo).PePo - pepo;
    double fhi = shockStandingAt(s, hi).PePo - pepo;
    if (!(flo >= 0 && fhi <= 0)) return std::nullopt;
    // Regula falsi with the Illinois halving, falling back to bisection when
    // a step leaves the bracket: superlinear, and never loses the root.
    int side = 0;
    for (int n = 0; n < 200 && hi - lo > 1e-15 * hi; ++n) {
        double mid = (flo - fhi) != 0 ? hi - fhi * (hi - lo) / (fhi - flo) : 0.5 * (lo + hi);
        if (!(mid > lo && mid < hi)) mid = 0.5 * (lo + hi);
        const double f = shockStandingAt(s, mid).PePo - pepo;
        if (f == 0) {
            lo = hi = mid;
            break;
        }
        if (f > 0) {
            lo = mid;
            flo = f;
            if (side == 1) fhi /= 2;
            side = 1;
        } else {
            hi = mid;
            fhi = f;
            if (side == -1) flo /= 2;
            side = -1;
        }
    }
    return shockStandingAt(s, 0.5 * (lo + hi));
}

} // namespace cdnozzle
