// SPDX-License-Identifier: MIT
// Where a normal shock in the divergent part matches the back pressure.
#pragma once

#include "gas/area_mach.h"
#include "nozzle/flow_state.h"
#include "nozzle/station_cache.h"

namespace cdnozzle {

// The supersonic Mach number at station i, M_iter(AA(i), 1, "SesÜstü"):
// the Mach number just ahead of a shock standing there. With a cache, a
// value computed before for the same grid is reused.
double supersonicMachAt(const FlowState& s, int i, const NotConvergedHandler& notConverged,
                        StationCache* cache = nullptr);

// The exit-to-reservoir pressure ratio pe/p01 that a normal shock standing at
// station i would give: isentropic supersonic flow to the shock, the jump,
// isentropic subsonic flow to the exit. Reads AA and AAe of the grid.
double exitPressureWithShockAt(const FlowState& s, int i, const NotConvergedHandler& notConverged,
                               StationCache* cache = nullptr);

// Scans the divergent stations N_conv+1 .. N_tot downstream and stops at the
// first whose exit pressure ratio is strictly below PePo; iNS receives the
// station before it. So iNS = N_conv when the first divergent station already
// stops the scan (shock at the throat) and iNS = N_tot when none does (no
// shock inside). A plain scan on the grid: no interpolation, no bisection.
void NS_icin_iterasyon(const FlowState& s, double PePo, int& iNS,
                       const NotConvergedHandler& notConverged, StationCache* cache = nullptr);

} // namespace cdnozzle
