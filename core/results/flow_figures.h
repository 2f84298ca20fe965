// SPDX-License-Identifier: MIT
// What follows from a solution besides M and p/p0: temperature, density and
// velocity at every station, and the whole nozzle's mass flow and thrust.
#pragma once

#include "nozzle/calc_flow.h"
#include "nozzle/flow_state.h"

namespace cdnozzle {

struct StationQuantities {
    double T_T0;     // 1 / (1 + (k-1)/2 M^2): T0 is the same across every shock
    double rho_rho0; // (p/p0) / (T/T0), referred to the reservoir density
    double V_astar;  // M sqrt((k+1)/2 T/T0): a* is the same across every shock
};

// At a Mach number and a p/p0 (p0 of the reservoir).
StationQuantities stationQuantities(const Gas& gas, double M, double PiPo);

struct NozzleFigures {
    double mdot_ratio;   // mass flow over the choked mass flow: 1 once the throat is sonic
    double C_F_momentum; // mdot V_e / (p0 A_t) = k (p_e/p0) M_e^2 A_e/A_t
    double C_F_pressure; // (p_e - p_b) A_e / (p0 A_t)
    double C_F;          // the thrust coefficient, the sum of the two
    double pe_pb;        // exit-plane pressure over back pressure: > 1 under-expanded
    double Me;           // the exit-plane Mach number these figures take
    double pe_p0;        // the exit-plane pressure over the reservoir's
};

// From the exit plane (station N_tot) of a calculated state; all 0 but
// pe_pb (1) when nothing flows. The momentum and pressure parts together
// are the same on either side of a normal shock standing in the exit plane.
// A subsonic jet (subsonic throughout, choked subsonic, a normal shock
// inside) leaves at the back pressure: pe_pb is 1, the pressure part 0, and
// the momentum part k (pb/p0) Me^2 Ae/At takes the exit Mach number of the
// continuous solution (of the exact shock position, or isentropic from the
// back pressure), not the grid's, whose shock stands at a station. So does
// the exit-shock band's: the plots draw its shock in the exit plane, but the
// flow has it just inside, so that C_F is continuous at the band's edges.
NozzleFigures nozzleFigures(const FlowState& s, const CalcResult& result);

} // namespace cdnozzle
