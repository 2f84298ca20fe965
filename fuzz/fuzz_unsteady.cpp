// SPDX-License-Identifier: MIT
// Arbitrary bytes as an unsteady run: the scheme, cells, Courant number,
// gas, design, start and back pressures, then a few back-pressure jumps
// between runs of steps. Any crash, sanitizer report, non-positive density
// or pressure, non-finite value, or breakdown without its message is a
// finding.
#include "unsteady/unsteady_flow.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "finding: %s: %s\n", what, detail.c_str());
    std::abort();
}

// Takes the bytes one at a time; 0 once they run out.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    unsigned next()
    {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    // A number in [lo, hi] from two bytes.
    double in(double lo, double hi)
    {
        const unsigned v = next() << 8 | next();
        return lo + (hi - lo) * v / 65535.0;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace cdnozzle;
    Bytes b{data, size};
    UnsteadySettings s;
    s.scheme = static_cast<Scheme>(b.next() % 4);
    s.cells = kMinCells + static_cast<int>(b.next() % 100);
    s.courant = b.in(0.01, 1);
    s.artificialViscosity = b.in(0, 1);
    if (validateUnsteadySettings(s)) fail("settings refused", std::string(schemeName(s.scheme)));
    const double k = b.in(kMinK, kMaxK);
    const double me = b.next() % 8 == 0 ? b.in(1, 100) : b.in(1, 5);
    const Gas gas = gasOf(k);
    const Contour contour = b.next() % 6 == 0 ? textbookContour() : nozzleContour(gas, me);
    const auto start = static_cast<Start>(b.next() % 4);
    const double pb = b.in(1e-4, 1), from = b.in(1e-4, 1);
    UnsteadyFlow flow(gas, contour, s, pb, start, from);
    for (int jump = 0; jump < 4; ++jump) {
        flow.run(static_cast<long>(b.next() % 64) + 1);
        flow.setBackPressure(b.in(1e-4, 1));
    }
    for (const CellValues& c : flow.cells()) {
        if (!(c.rho > 0) || !(c.p > 0) || !std::isfinite(c.rho) || !std::isfinite(c.p))
            fail("non-positive density or pressure", std::string(schemeName(s.scheme)));
        if (!std::isfinite(c.u) || !std::isfinite(c.M) || !std::isfinite(c.T) ||
            !std::isfinite(c.mdot))
            fail("non-finite value", std::string(schemeName(s.scheme)));
    }
    if (!std::isfinite(flow.residual()) || !std::isfinite(flow.time())) fail("non-finite time", "");
    if (flow.brokeDown() && flow.failure().empty()) fail("breakdown without a message", "");
    // The finite-volume schemes retry a failed step with smaller steps.
    if (flow.brokeDown() && (s.scheme == Scheme::MusclHllc || s.scheme == Scheme::Upwind))
        fail("finite volumes broke down", flow.failure());
    return 0;
}
