// SPDX-License-Identifier: MIT
// The three limit flows of a nozzle, station by station, drawn faintly
// behind the flow of the moment: the throat just choked (subsonic behind
// it), a normal shock standing in the exit plane, and the design flow
// (supersonic to the exit, perfectly expanded). They depend on the nozzle
// and the gas only, not on the back pressure.
#pragma once

#include "nozzle/flow_state.h"

#include <array>

namespace cdnozzle {

struct LimitFlow {
    double PePo = 0;  // the limit back-pressure ratio
    StationArray M{}; // stations 1..N_tot, with the continuous solution's inversions
    StationArray PiPo{};
    // Behind the exit plane (station N_tot + 1): the jet, which differs from
    // the exit station only behind a normal shock standing there.
    double Mjet = 0, PiPoJet = 0;
    bool operator==(const LimitFlow&) const = default;
};

struct LimitCurves {
    LimitFlow choked, exitShock, design;
    bool operator==(const LimitCurves&) const = default;
};

// The limit flows of the nozzle of s (its grid and limits as Lule_Geo left
// them). A convergent nozzle (M_max = 1) has one: all three coincide.
LimitCurves limitCurves(const FlowState& s);

} // namespace cdnozzle
