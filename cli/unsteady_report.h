// SPDX-License-Identifier: MIT
// The report command's unsteady mode: cdnozzle-report --unsteady runs the
// flow in time (core/unsteady) from a start to a step count, a time or
// steady, and writes its final state, events and history.
#pragma once

#include <string>
#include <vector>

namespace cdnozzle {

// True when the arguments ask for the unsteady mode (--unsteady given).
bool wantsUnsteady(const std::vector<std::string>& argv);

// Runs the unsteady mode on argv (without the program name) and returns the
// exit status: 0, 1 when an output could not be written, 2 when the
// arguments are refused (one line on standard error saying why).
int unsteadyReport(const std::vector<std::string>& argv);

// What --unsteady --help prints.
std::string unsteadyUsage();

} // namespace cdnozzle
