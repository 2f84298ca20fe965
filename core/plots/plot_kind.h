// SPDX-License-Identifier: MIT
// Which plot is which, what the third one shows, and the values a plot
// shows under the cursor.
#pragma once

#include "nozzle/flow_state.h"

#include <optional>
#include <string>
#include <string_view>

namespace cdnozzle {

// Which plot: the geometry, the Mach number, or the third plot.
enum class PlotKind { Geometry, Mach, Third };

// What the third plot shows: p/p0 (the default), T/T0 or rho/rho0 along
// the nozzle, or an engine's thrust and I_sp against altitude.
enum class PlotQuantity { Pressure, Temperature, Density, Thrust };
// "p/p0", "T/T0", "ρ/ρ0", "F, I_sp".
std::string_view quantityCaption(PlotQuantity quantity);
// Its short name in a link and on the command line: "p", "T", "rho",
// "thrust"; and the quantity of such a name (nothing for another name).
std::string_view quantityKey(PlotQuantity quantity);
std::optional<PlotQuantity> quantityNamed(std::string_view key);

// For the status line: "x = 1.575, station 66: M = 1.575, p/p0 = 0.2441,
// T/T0 = ..., ρ/ρ0 = ..., V/a* = ..." and the like: the plot's own
// quantity first (y and A/At for the geometry plot; for the third plot the
// quantity it shows), then all the others.
std::string hoverReadout(const FlowState& s, PlotKind plot, double x,
                         PlotQuantity third = PlotQuantity::Pressure);

} // namespace cdnozzle
