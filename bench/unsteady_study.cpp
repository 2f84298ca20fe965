// SPDX-License-Identifier: MIT
// The unsteady flow against the exact steady flow, in full: every regime
// for k 1.2, 1.4 and 5/3 and Me_Sup 1.5, 2 and 3 at 400 cells (the tests run
// a representative part of this table), and the grid study from 50 to 3200
// cells with the observed order. Prints two tables; exits 1 when a row
// misses its bounds (0.5 % for M and p/p0, 0.1 % for mdot, 1.5 cells for
// the shock).
//   cdnozzle-unsteady-study [table|grid]
#include "core/unsteady/steady_cases.h"
#include "unsteady/unsteady_flow.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

using namespace cdnozzle;

namespace {

bool table()
{
    bool ok = true;
    std::printf("%-6s %-6s %-28s %8s %9s %9s %9s %7s %7s %8s\n", "k", "Me_Sup", "regime", "Pe/Po",
                "M err", "p err", "mdot err", "shock", "steps", "ms");
    for (const double k : {1.2, 1.4, 5.0 / 3.0}) {
        for (const double me : {1.5, 2.0, 3.0}) {
            const Gas gas = gasOf(k);
            const Contour c = nozzleContour(gas, me);
            for (const test::SteadyCase which : test::kSteadyCases) {
                const double pb = test::steadyCaseBackPressure(gas, c, which);
                const auto t0 = std::chrono::steady_clock::now();
                UnsteadyFlow flow(gas, c, UnsteadySettings{}, pb, Start::Rest);
                const bool steady = flow.runUntilSteady(2000000);
                const double ms =
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                        .count();
                const SteadyFlow exact = steadyFlow(gas, c, pb);
                const test::SteadyErrors e = test::steadyErrors(flow, exact);
                const bool good = steady && e.M < 0.005 && e.p < 0.005 && e.mdot < 0.001 &&
                                  e.shockCells < 1.5 &&
                                  e.shockFound == (exact.regime == SteadyRegime::ShockInside);
                ok = ok && good;
                std::printf("%-6.4g %-6.3g %-28s %8.5f %9.2e %9.2e %9.2e %7.2f %7ld %8.0f%s\n", k,
                            me, std::string(test::steadyCaseName(which)).c_str(), pb, e.M, e.p,
                            e.mdot, e.shockCells, flow.steps(), ms, good ? "" : "  MISSED");
            }
        }
    }
    return ok;
}

// The mean relative error of M over the cells (outside three cells of a
// shock), from 50 to 3200 cells, and the order between successive grids.
// Every grid runs from rest to the same time, long after the flow has
// settled (steady at about 11 L/a0): a fine grid's shock keeps moving by a
// small part of a cell, so that its residual never falls below the steady
// threshold, and stopping at that threshold would leave each grid's error
// of time beside its error of space.
constexpr double kGridStudyTime = 40;

void grid()
{
    const Gas air = gasOf(1.4);
    const Contour c = nozzleContour(air, 2);
    for (const test::SteadyCase which :
         {test::SteadyCase::Overexpanded, test::SteadyCase::ShockAhead}) {
        const double pb = test::steadyCaseBackPressure(air, c, which);
        const SteadyFlow exact = steadyFlow(air, c, pb);
        std::printf("\n%s (Pe/Po %.5f), muscl-hllc\n%6s %12s %7s %12s %7s %10s %10s\n",
                    std::string(test::steadyCaseName(which)).c_str(), pb, "cells", "L1 M err",
                    "order", "shock err", "order", "steps", "residual");
        double previous = 0, previousShock = 0;
        for (int n = 50; n <= 3200; n *= 2) {
            UnsteadySettings s;
            s.cells = n;
            UnsteadyFlow flow(air, c, s, pb, Start::Rest);
            flow.runUntilTime(kGridStudyTime, 20000000);
            const auto shock = flow.shockPosition();
            double sum = 0;
            int counted = 0;
            for (const CellValues& cell : flow.cells()) {
                if (exact.regime == SteadyRegime::ShockInside &&
                    (std::abs(cell.x - exact.shockX) < 3 * flow.dx() ||
                     (shock && std::abs(cell.x - *shock) < 3 * flow.dx())))
                    continue;
                sum += std::abs(cell.M / steadyPointAt(air, c, exact, cell.x).M - 1);
                ++counted;
            }
            const double l1 = sum / counted;
            const double shockErr = exact.regime == SteadyRegime::ShockInside && shock
                                        ? std::abs(*shock - exact.shockX)
                                        : 0;
            std::printf("%6d %12.3e %7.2f %12.3e %7.2f %10ld %10.2e\n", n, l1,
                        previous > 0 ? std::log2(previous / l1) : 0.0, shockErr,
                        previousShock > 0 && shockErr > 0 ? std::log2(previousShock / shockErr)
                                                          : 0.0,
                        flow.steps(), flow.residual());
            previous = l1;
            previousShock = shockErr;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "";
    bool ok = true;
    if (what.empty() || what == "table") ok = table();
    if (what.empty() || what == "grid") grid();
    return ok ? 0 : 1;
}
