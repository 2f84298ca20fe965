// SPDX-License-Identifier: MIT
// The thrust of an engine over a climb: one row per altitude, as CSV for a
// spreadsheet or a notebook.
#pragma once

#include "plots/plot_scene.h"
#include "results/engine.h"
#include "text/units.h"
#include "text/validation.h"

#include <string>
#include <vector>

namespace cdnozzle {

// The header and a row per altitude (m): altitude, outside pressure, Pe/Po,
// regime, C_F, thrust and I_sp, in the unit system's data units (km, Pa, N;
// ft, psi, lbf), every number so that it reads back as the same double. The
// design texts give the nozzle; Pe/Po follows the altitude. Empty when the
// design texts are refused.
std::string thrustCurveCsv(const InputTexts& design, double k, const Engine& engine,
                           UnitSystem units, const std::vector<double>& altitudes);

// The thrust and I_sp of the same climb, one point per altitude, as
// engineFigures gives them for the calculated design. Empty when the
// design texts are refused.
std::vector<ThrustPoint> thrustCurve(const InputTexts& design, double k, const Engine& engine,
                                     const std::vector<double>& altitudes);

// The step of the altitudes the thrust plot's curve is calculated at (m).
inline constexpr double kThrustPlotStep = 500;

// The altitudes of a climb from the ground to 86 km, every step (m).
std::vector<double> climbAltitudes(double step);

} // namespace cdnozzle
