// SPDX-License-Identifier: MIT
// The plots of the flow in time: the steady plots of the same nozzle and
// back pressure, their flow laid faintly behind, the cells' values over it;
// the nozzle filled with a colour for each cell's Mach number.
#pragma once

#include "plots/plot_scene.h"
#include "unsteady/unsteady_flow.h"

#include <vector>

namespace cdnozzle {

// The colour of a Mach number M on a scale from 0 to top: the viridis map
// (dark blue through green to yellow), read alike by the common
// colour-vision deficiencies and rising in lightness, in 64 shades. M
// outside the scale
// takes its end's colour; a non-finite M the lowest.
Rgb machColor(double M, double top);

// The top of the colour scale for a nozzle of design exit Mach number
// M_max: a whole number at or above 1.2 M_max (at least 1).
double machScaleTop(double M_max);

// A steady Mach or third plot (Grafik_Mach, Grafik_Third for p/p0, T/T0 or
// rho/rho0, built without the limit flows) turned into the unsteady one:
// its flow curve (and jump) goes faintly behind, the cells' values of the
// same quantity are drawn over it as the flow's curve, and the legend says
// "cells" and "steady". The thrust plot is left as it is.
void overlayCells(PlotScene& scene, const std::vector<CellValues>& cells, PlotKind plot,
                  PlotQuantity third);

// The steady geometry plot turned into the unsteady one: the marks of the
// steady flow (shocks, waves) and their legend left out, the nozzle filled
// between its walls with each cell's colour (machColor up to top), and the
// colour scale right of the exit, below the axis (a column of bands, its
// values and "M").
void fillWithMach(PlotScene& scene, const std::vector<CellValues>& cells, const FlowState& s);

// The strip of the flow in time's history, drawn in the geometry plot below
// the nozzle (left out where the walls leave no room): time from 0 to now
// along x, the residual on a log scale from 10^-6 to 10^2 (blue) and
// mdot_exit/mdot* from 0 to 1.2 (red) up the strip, in a grey box, the
// legend naming both.
void drawHistoryStrip(PlotScene& scene, const std::vector<HistoryPoint>& history,
                      const FlowState& s);

} // namespace cdnozzle
