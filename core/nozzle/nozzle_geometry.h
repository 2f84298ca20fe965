// SPDX-License-Identifier: MIT
// The station grid of the nozzle, the regime limits and the report head.
//
// The contour follows from the design exit Mach number alone: the x of every
// station equals the Mach number of the isentropic design flow there, and the
// wall half-height is half the area ratio that Mach number needs. Convergent
// stations 1..N_conv run from x = 1/N_conv to the throat at x = 1; divergent
// stations N_conv+1..N_tot run linearly from 1 to M_max; station N_tot+1 is a
// run-out station 0.1 behind the exit (only its x is set here).
#pragma once

#include "gas/area_mach.h"
#include "nozzle/flow_state.h"
#include "nozzle/report.h"

namespace cdnozzle {

// x(i) = i/N_conv and y(i) = AAfM(x(i))/2 for i = 1..N_conv.
void yakinsak_geo(FlowState& s);

// xI(i) = (M_max - 1) * (i/N_div) + 1 and yI(i) = AAfM(xI(i))/2 for
// i = 1..N_div; other entries are left alone. Writes nothing in the state.
void iraksak_geo(const FlowState& s, StationArray& xI, StationArray& yI);

// The geometry run that opens every calculation: reads M_max and AA_max from
// the "Me_Sup =" and "Amax/At =" texts, sets i_NS = 1, builds the grid
// (x(1..N_tot+1), y and AA(1..N_tot)), then the limits AAe, Me_sub, PePo_sub,
// PePo_OS, PePo_NS, and clears the report and writes its six lines. Only
// defined for M_max > 0; the caller validates the texts first.
void Lule_Geo(FlowState& s, const InputTexts& texts, Report& report);
// The same with the two numbers already read (by the validation).
void Lule_Geo(FlowState& s, const InputNumbers& inputs, Report& report);

} // namespace cdnozzle
