// SPDX-License-Identifier: MIT
// Checks that nothing non-finite reached what the user sees.
#pragma once

#include "model/nozzle_model.h"

#include <optional>
#include <string>

namespace cdnozzle {

// Names the first non-finite value among what a calculated model shows:
// the station values 1..N_tot+1 the plots read, the jump values, the
// limits, the marks, the three scenes (windows and segments) and the report
// lines ("nan"/"inf" in a line). Nothing when everything is finite.
std::optional<std::string> findNonFinite(const NozzleModel& model);

} // namespace cdnozzle
