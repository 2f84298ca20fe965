// SPDX-License-Identifier: MIT
// The steady regimes the unsteady flow must arrive at, and how far it is
// from the exact steady flow: shared by the tests and the full study of
// bench/unsteady_study.
#pragma once

#include "gas/area_mach.h"
#include "gas/isentropic.h"
#include "unsteady/exact_flow.h"
#include "unsteady/unsteady_flow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace cdnozzle::test {

enum class SteadyCase {
    Subsonic,
    Choked,
    ShockAhead,
    ShockBehind,
    Overexpanded,
    NearTheExitShockLimit,
    Underexpanded
};
inline constexpr std::array kSteadyCases{
    SteadyCase::Subsonic,     SteadyCase::Choked,       SteadyCase::ShockAhead,
    SteadyCase::ShockBehind,  SteadyCase::Overexpanded, SteadyCase::NearTheExitShockLimit,
    SteadyCase::Underexpanded};

inline std::string_view steadyCaseName(SteadyCase c)
{
    switch (c) {
    case SteadyCase::Subsonic: return "Subsonic";
    case SteadyCase::Choked: return "ChokedWeakShockNearThroat";
    case SteadyCase::ShockAhead: return "ShockAtHalfTheDivergentPart";
    case SteadyCase::ShockBehind: return "ShockAtFourFifths";
    case SteadyCase::Overexpanded: return "SupersonicOverexpanded";
    case SteadyCase::NearTheExitShockLimit: return "SupersonicNearTheExitShockLimit";
    case SteadyCase::Underexpanded: return "SupersonicUnderexpanded";
    }
    return "";
}

// The back pressure p/p0 of the case: subsonic with Mach 0.8 at the throat;
// a normal shock at 20 %, 50 % or 80 % of the divergent part (the first, a
// weak shock just behind the choked throat); supersonic halfway between the
// design pressure and the exit-shock limit, 97 % of the way to that limit
// (the shock that came in from rest must leave by the exit although the
// back pressure nearly holds it there), and at half the design
// pressure.
inline double steadyCaseBackPressure(const Gas& gas, const Contour& c, SteadyCase which)
{
    const SteadyFlow f = steadyFlow(gas, c, 1);
    const double along = c.xEnd - c.throatX;
    switch (which) {
    case SteadyCase::Subsonic: {
        const double Ae = c.area(c.xEnd) / c.throatArea;
        return 1 / PoP(gas, machOfAreaRatio(gas, Ae * AAfM(gas, 0.8), false));
    }
    case SteadyCase::Choked: return backPressureForShockAt(gas, c, c.throatX + 0.2 * along);
    case SteadyCase::ShockAhead: return backPressureForShockAt(gas, c, c.throatX + 0.5 * along);
    case SteadyCase::ShockBehind: return backPressureForShockAt(gas, c, c.throatX + 0.8 * along);
    case SteadyCase::Overexpanded: return 0.5 * (f.designPressure + f.exitShockLimit);
    case SteadyCase::NearTheExitShockLimit:
        return f.designPressure + 0.97 * (f.exitShockLimit - f.designPressure);
    case SteadyCase::Underexpanded: return 0.5 * f.designPressure;
    }
    return 1;
}

// The largest relative errors of the cells against the exact steady flow,
// outside three cells of the exact and the captured shock (inside, a
// captured shock's cells hold states between the two sides, whose rho u A
// lies off the flow's), and the captured shock's distance in cells.
struct SteadyErrors {
    double M = 0, p = 0, mdot = 0;
    double shockCells = 0; // |captured - exact| / dx; 0 without a shock
    bool shockFound = false;
};

inline SteadyErrors steadyErrors(const UnsteadyFlow& flow, const SteadyFlow& exact)
{
    SteadyErrors e;
    const auto shock = flow.shockPosition();
    const bool inside = exact.regime == SteadyRegime::ShockInside;
    e.shockFound = shock.has_value();
    if (inside && shock) e.shockCells = std::abs(*shock - exact.shockX) / flow.dx();
    for (const CellValues& c : flow.cells()) {
        const SteadyPoint s = steadyPointAt(flow.gas(), flow.contour(), exact, c.x);
        const double reach = 3 * flow.dx();
        if (inside &&
            (std::abs(c.x - exact.shockX) < reach || (shock && std::abs(c.x - *shock) < reach)))
            continue;
        e.mdot = std::max(e.mdot, std::abs(c.mdot / exact.mdot - 1));
        e.M = std::max(e.M, std::abs(c.M / s.M - 1));
        e.p = std::max(e.p, std::abs(c.p / s.p - 1));
    }
    return e;
}

} // namespace cdnozzle::test
