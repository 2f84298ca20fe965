// SPDX-License-Identifier: MIT
// A short explanation of the current flow for a student who has just met
// the topic: between which limit ratios the back pressure lies, what the
// flow does (where it is subsonic, sonic, supersonic; the shock with its
// jumps and loss of stagnation pressure; over- or under-expansion with the
// exit waves' angles) and what happens next as the back pressure falls.
#pragma once

#include "nozzle/calc_flow.h"
#include "nozzle/flow_state.h"

#include <string>

namespace cdnozzle {

// Two to four sentences with their numbers (4 decimals, angles to 0.1
// degree). Empty before the first calculation. backAboveReservoir: the
// outside pressure lies above the reservoir's (an engine's chamber below the
// air around it), which the program holds at Pe/Po = 1, no flow.
std::string explainFlow(const FlowState& s, const CalcResult& result,
                        bool backAboveReservoir = false);

} // namespace cdnozzle
