// The regime of a calculation in plain words, for the window's status line.
#pragma once

#include "nozzle/calc_flow.h"
#include "nozzle/flow_state.h"

#include <string>

namespace cdnozzle {

// E.g. "Normal shock inside the nozzle at x = 1.575 (station 66; exact
// x = 1.5764)", where the exact x is the grid-free shock position, or
// "Oblique shocks at the exit (β = 69.2°)". Empty before a calculation.
std::string regimeSummary(const FlowState& s, const CalcResult& result);

} // namespace cdnozzle
