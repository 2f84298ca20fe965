// SPDX-License-Identifier: MIT
// The report command's two output forms for a calculated model.
#pragma once

#include "model/nozzle_model.h"
#include "results/engine.h"
#include "results/station_data.h"

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cdnozzle {

// A name the report writes, with what it holds, as --help lists it.
struct OutputField {
    std::string_view name;
    std::string_view meaning;
};

// The keys of the JSON object (written in alphabetical order). A new key
// is added here as well as in reportJson: the help lists these, and a test
// holds the two together.
inline constexpr std::array kReportJsonKeys{
    OutputField{"report", "the report lines, as the window lists them"},
    OutputField{"regime", "the flow regime in words"},
    OutputField{"i_NS", "station of the jump the Mach and p/p0 plots draw"},
    OutputField{"Me", "Mach number just downstream of that jump"},
    OutputField{"PePo_e", "p/p0 just downstream of that jump"},
    OutputField{"PePo", "back-pressure ratio, \"Pe/Po =\""},
    OutputField{"M_max", "design exit Mach number, \"Me_Sup =\""},
    OutputField{"AA_max", "half-height of the geometry plot, \"Amax/At =\""},
    OutputField{"AAe", "exit-to-throat area ratio"},
    OutputField{"Me_sub", "subsonic exit Mach number with a sonic throat"},
    OutputField{"PePo_sub", "subsonic limit of Pe/Po"},
    OutputField{"PePo_NS", "Pe/Po of a normal shock in the exit plane"},
    OutputField{"PePo_OS", "design exit pressure ratio"},
    OutputField{"k", "ratio of specific heats (--k)"},
    OutputField{"mdot_ratio", "mass flow over the choked mass flow"},
    OutputField{"C_F", "thrust coefficient, C_F_momentum + C_F_pressure"},
    OutputField{"C_F_momentum", "momentum part of C_F"},
    OutputField{"C_F_pressure", "pressure part of C_F"},
    OutputField{"pe_pb", "exit-plane pressure over back pressure"},
    OutputField{"exact_shock",
                "with a shock inside, the continuous solution's: x, AA, M1, M2, p02_p01, Me"},
    OutputField{"exit_waves",
                "oblique shocks: kind, beta_deg, theta_deg, M_jet, theta_max_deg, strong, "
                "strong_above_PePo; expansion: kind, nu_exit_deg, nu_jet_deg, turn_deg, M_jet"},
    OutputField{"stations", "the station table, one object per row"},
    OutputField{"marks", "shock and wave marks: color (red, blue), x1, y1, x2, y2"},
    OutputField{"messages", "what the calculation said (iteration not converged)"},
    OutputField{"engine",
                "with an engine: units, altitude, p0, T0, A_t, A_e, molar_mass, R, mdot, c_star, "
                "V_e, T_e, p_e, p_b, F, F_momentum, F_pressure, I_sp (each value and unit), "
                "design_altitude, shock_leaves_altitude, choking_altitude, ideal, ideal_note"},
    OutputField{"explanation", "the explanation for students (with --explain)"},
};

// An engine's figures for the report: the altitude's line when the back
// pressure came from one, then the engine's lines.
struct EngineReport {
    Engine engine;
    UnitSystem units = UnitSystem::SI;
    std::optional<double> altitude;
};

// The report lines, "regime: ...", the engine's lines when there is one,
// then the station table of stations 1..N_tot+1 (the kStationColumns;
// tab-separated, with a header row).
void writePlainReport(std::ostream& out, const NozzleModel& model,
                      const EngineReport* engine = nullptr);
std::vector<std::string> engineReportLines(const NozzleModel& model, const EngineReport& e);
// The "engine" object of the JSON.
nlohmann::json engineJson(const NozzleModel& model, const EngineReport& e);

// One object with the kReportJsonKeys but "explanation" and "engine", which
// the caller adds. Numbers are written so that they read back as the same double.
nlohmann::json reportJson(const NozzleModel& model, const std::vector<std::string>& messages);

} // namespace cdnozzle
