// SPDX-License-Identifier: MIT
#include "unsteady/exact_flow.h"

#include "gas/area_mach.h"
#include "gas/isentropic.h"
#include "gas/normal_shock.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

namespace {

double exitArea(const Contour& c)
{
    return c.area(c.xEnd) / c.throatArea;
}

// pe/p0 with a normal shock where the area ratio is shockArea.
double exitPressureWithShock(const Gas& gas, double Ae, double shockArea, double& p02)
{
    const double M1 = machOfAreaRatio(gas, shockArea, true);
    p02 = stagnationPressureRatio(gas, M1);
    const double Me = machOfAreaRatio(gas, Ae * p02, false);
    return p02 / PoP(gas, Me);
}

// The x in the divergent part where the area is `area` (the contour rises
// there): bisection, 200 halvings at most.
double divergentXOfArea(const Contour& c, double area)
{
    double lo = c.throatX, hi = c.xEnd;
    for (int n = 0; n < 200 && hi - lo > 1e-15 * std::max(1.0, std::abs(hi)); ++n) {
        const double mid = 0.5 * (lo + hi);
        if (c.area(mid) / c.throatArea < area)
            lo = mid;
        else
            hi = mid;
    }
    return 0.5 * (lo + hi);
}

} // namespace

SteadyFlow steadyFlow(const Gas& gas, const Contour& c, double pb)
{
    SteadyFlow f;
    f.pb = pb;
    const double Ae = exitArea(c);
    const double MeSub = machOfAreaRatio(gas, Ae, false);
    const double MeSup = machOfAreaRatio(gas, Ae, true);
    f.subsonicLimit = 1 / PoP(gas, MeSub);
    f.designPressure = 1 / PoP(gas, MeSup);
    f.exitShockLimit = f.designPressure * P2P1fM1(gas, MeSup);
    if (Ae <= 1) f.exitShockLimit = f.designPressure = f.subsonicLimit;
    if (pb >= f.subsonicLimit) {
        f.regime = SteadyRegime::Subsonic;
        const double Me = isentropicMachOfPressure(gas, std::min(pb, 1.0));
        f.mdot = Me > 0 ? Ae / AAfM(gas, Me) : 0;
        f.exitPressure = pb;
        return f;
    }
    f.mdot = 1;
    if (pb > f.exitShockLimit) {
        f.regime = SteadyRegime::ShockInside;
        // The exit pressure falls as the shock moves downstream: bisect on A.
        double lo = 1, hi = Ae, p02 = 1;
        for (int n = 0; n < 200 && hi - lo > 1e-15 * hi; ++n) {
            const double mid = 0.5 * (lo + hi);
            if (exitPressureWithShock(gas, Ae, mid, p02) > pb)
                lo = mid;
            else
                hi = mid;
        }
        f.shockArea = 0.5 * (lo + hi);
        exitPressureWithShock(gas, Ae, f.shockArea, p02);
        f.p02_p01 = p02;
        f.shockX = divergentXOfArea(c, f.shockArea);
        f.exitPressure = pb;
        return f;
    }
    f.regime = SteadyRegime::Supersonic;
    f.exitPressure = f.designPressure;
    return f;
}

SteadyPoint steadyPointAt(const Gas& gas, const Contour& c, const SteadyFlow& f, double x)
{
    const double A = c.area(x) / c.throatArea;
    SteadyPoint p;
    if (f.regime == SteadyRegime::Subsonic) {
        if (f.mdot <= 0) return p;
        p.M = machOfAreaRatio(gas, A / f.mdot, false);
    } else if (x <= c.throatX) {
        p.M = machOfAreaRatio(gas, A, false);
    } else if (f.regime == SteadyRegime::Supersonic || x <= f.shockX) {
        p.M = machOfAreaRatio(gas, A, true);
    } else {
        p.M = machOfAreaRatio(gas, A * f.p02_p01, false);
        p.p = f.p02_p01 / PoP(gas, p.M);
        return p;
    }
    p.p = 1 / PoP(gas, p.M);
    return p;
}

double backPressureForShockAt(const Gas& gas, const Contour& c, double x)
{
    double p02 = 1;
    return exitPressureWithShock(gas, exitArea(c), c.area(x) / c.throatArea, p02);
}

namespace {

// Toro's pressure function of one side and its derivative.
void pressureFunction(double k, const GasState& s, double a, double p, double& f, double& df)
{
    if (p > s.p) {
        const double A = 2 / ((k + 1) * s.rho);
        const double B = (k - 1) / (k + 1) * s.p;
        const double q = std::sqrt(A / (p + B));
        f = (p - s.p) * q;
        df = q * (1 - 0.5 * (p - s.p) / (p + B));
    } else {
        const double r = p / s.p;
        f = 2 * a / (k - 1) * (std::pow(r, (k - 1) / (2 * k)) - 1);
        df = 1 / (s.rho * a) * std::pow(r, -(k + 1) / (2 * k));
    }
}

} // namespace

GasState riemannSolution(double k, const GasState& L, const GasState& R, double S)
{
    const double aL = std::sqrt(k * L.p / L.rho), aR = std::sqrt(k * R.p / R.rho);
    // The two-rarefaction guess, then Newton steps.
    const double z = (k - 1) / (2 * k);
    double p = std::pow((aL + aR - 0.5 * (k - 1) * (R.u - L.u)) /
                            (aL / std::pow(L.p, z) + aR / std::pow(R.p, z)),
                        1 / z);
    p = std::max(p, 1e-12 * std::min(L.p, R.p));
    double fL = 0, fR = 0, dL = 0, dR = 0;
    for (int n = 0; n < 100; ++n) {
        pressureFunction(k, L, aL, p, fL, dL);
        pressureFunction(k, R, aR, p, fR, dR);
        const double next = std::max(p - (fL + fR + R.u - L.u) / (dL + dR), 1e-3 * p);
        const bool done = std::abs(next - p) < 1e-15 * (next + p);
        p = next;
        if (done) break;
    }
    pressureFunction(k, L, aL, p, fL, dL);
    pressureFunction(k, R, aR, p, fR, dR);
    const double u = 0.5 * (L.u + R.u) + 0.5 * (fR - fL);
    const double g1 = (k - 1) / (k + 1);
    if (S <= u) { // left of the contact
        const double pr = p / L.p;
        if (p > L.p) {
            const double SL = L.u - aL * std::sqrt((k + 1) / (2 * k) * pr + (k - 1) / (2 * k));
            if (S <= SL) return L;
            return {L.rho * (pr + g1) / (g1 * pr + 1), u, p};
        }
        const double aStar = aL * std::pow(pr, z);
        if (S <= L.u - aL) return L;
        if (S >= u - aStar) return {L.rho * std::pow(pr, 1 / k), u, p};
        const double c = 2 / (k + 1) + g1 / aL * (L.u - S);
        return {L.rho * std::pow(c, 2 / (k - 1)), 2 / (k + 1) * (aL + (k - 1) / 2 * L.u + S),
                L.p * std::pow(c, 2 * k / (k - 1))};
    }
    const double pr = p / R.p;
    if (p > R.p) {
        const double SR = R.u + aR * std::sqrt((k + 1) / (2 * k) * pr + (k - 1) / (2 * k));
        if (S >= SR) return R;
        return {R.rho * (pr + g1) / (g1 * pr + 1), u, p};
    }
    const double aStar = aR * std::pow(pr, z);
    if (S >= R.u + aR) return R;
    if (S <= u + aStar) return {R.rho * std::pow(pr, 1 / k), u, p};
    const double c = 2 / (k + 1) - g1 / aR * (R.u - S);
    return {R.rho * std::pow(c, 2 / (k - 1)), 2 / (k + 1) * (-aR + (k - 1) / 2 * R.u + S),
            R.p * std::pow(c, 2 * k / (k - 1))};
}

} // namespace cdnozzle
