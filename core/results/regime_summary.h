// SPDX-License-Identifier: MIT
// The regime of a calculation in plain words, for the window's status line.
#pragma once

#include "nozzle/calc_flow.h"
#include "nozzle/flow_state.h"

#include <string>
#include <string_view>

namespace cdnozzle {

// E.g. "Normal shock inside the nozzle at x = 1.575 (station 66; exact
// x = 1.5764)", where the exact x is the grid-free shock position, or
// "Oblique shocks at the exit (β = 69.2°)". Empty before a calculation.
// Within half a step of the fine bar (0.0005) of the design pressure ratio
// the status line names the design condition. backAboveReservoir: no flow
// because the outside pressure lies above the reservoir's (Pe/Po held at 1).
std::string regimeSummary(const FlowState& s, const CalcResult& result,
                          bool backAboveReservoir = false);
inline constexpr double kDesignNearness = 0.0005;

// Whether a jet leaving supersonic (oblique shocks or expansion at the exit)
// is within kDesignNearness of the design pressure ratio: the status line,
// the banner and the explanation then all name the design condition.
bool atDesignCondition(const FlowState& s, const CalcResult& result);

// The regime in a few words, the same words the status line and the
// explanation use: "Under-expanded jet: expansion waves at the exit",
// "Design condition: perfectly expanded", "Strong shock at the exit: a
// Mach disk in the jet". Empty before a calculation.
std::string regimeHeadline(const FlowState& s, const CalcResult& result);

// What a report line means, in plain words, by the label it was written
// with ("Pe/Po sesaltı limit=" -> "subsonic limit: below this back pressure
// the throat is choked"); "" for a label it does not know.
std::string reportLabelMeaning(std::string_view label);

} // namespace cdnozzle
