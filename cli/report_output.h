// The report command's two output forms for a calculated model.
#pragma once

#include "nozzle_model.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace cdnozzle {

// The report lines, "regime: ...", then the station table of stations
// 1..N_tot+1 (i, x, y, AA, M, PiPo; tab-separated, with a header row).
void writePlainReport(std::ostream& out, const NozzleModel& model);

// One object: report, regime, i_NS, Me, PePo_e, PePo, M_max, AA_max, AAe,
// Me_sub, PePo_sub, PePo_NS, PePo_OS, stations, marks, messages. Numbers
// are written so that they read back as the same double.
nlohmann::json reportJson(const NozzleModel& model, const std::vector<std::string>& messages);

} // namespace cdnozzle
