// SPDX-License-Identifier: MIT
// The report command's unsteady mode: cdnozzle-report --unsteady runs the
// flow in time (core/unsteady) from a start to a step count, a time or
// steady, and writes its final state, events and history.
#pragma once

#include "plots/display_list.h"
#include "unsteady/unsteady_flow.h"

#include <functional>
#include <string>
#include <vector>

namespace cdnozzle {

// True when the arguments ask for the unsteady mode (--unsteady given).
bool wantsUnsteady(const std::vector<std::string>& argv);

// Runs the unsteady mode on argv (without the program name) and returns the
// exit status: 0, 1 when an output could not be written, 2 when the
// arguments are refused (one line on standard error saying why).
int unsteadyReport(const std::vector<std::string>& argv);

// The PNG file of a display list, painted by the command's renderer.
using PngOf = std::function<std::string(const DisplayList&)>;
// The same with a renderer for --frames DIR --every N: a numbered picture
// of the flow every N steps (the start's first, the last state's last),
// into a folder that is new or holds no frames, listed on standard output
// ("DIR/frame-0001.png<TAB>step=0<TAB>t=0").
int unsteadyReport(const std::vector<std::string>& argv, const PngOf& png);

// What a frame shows, laid out as the steady figure: the nozzle's contour,
// the cells' Mach number and p/p0 (red) over the exact steady flow for the
// back pressure (faint), and under them the time and the step.
DisplayList unsteadyFigure(const UnsteadyFlow& flow);

// What --unsteady --help prints.
std::string unsteadyUsage();

} // namespace cdnozzle
