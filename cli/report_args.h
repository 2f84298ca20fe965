// SPDX-License-Identifier: MIT
// The report command's arguments: long options only, each value given as
// "--name value" or "--name=value". "--name=" gives the empty text (for a
// box, what an empty box means). A value is never taken from an argument
// that is itself an option, and every option may be given once.
#pragma once

#include "nozzle/flow_state.h"
#include "plots/plot_kind.h"
#include "results/engine.h"
#include "text/units.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cdnozzle {

struct ReportArgs {
    InputTexts texts;
    bool json = false;
    bool explain = false;
    bool help = false;
    bool version = false;
    // Output files; "-" is standard output.
    std::optional<std::string> png, svg, csv;
    // The ratio of specific heats as given; none means air (1.4).
    std::optional<std::string> k;
    // A sweep of the back pressure written as numbered frames.
    std::optional<std::string> sweep, frames;
    // A listed gas by its name (instead of --k).
    std::optional<std::string> gas;
    // The engine, each value as typed with or without its unit.
    std::optional<std::string> p0, t0, throatArea, throatDiameter, molarMass;
    // The back pressure from an altitude, the design from an area ratio.
    std::optional<std::string> altitude, areaRatio;
    std::optional<std::string> units;
    // The thrust over a range of altitudes, as CSV.
    std::optional<std::string> altitudeTable;
    // What the third plot of the pictures shows: "p", "T", "rho", "thrust".
    std::optional<std::string> plot;
};

// FROM:TO:STEP: the back pressures from FROM to TO (either way) in steps of
// STEP > 0, each written as a box would show it ("0.99", not
// "0.9900000000000001"); at most kMaxFrames of them. Empty with a reason
// when the text is not such a sweep.
inline constexpr int kMaxFrames = 100000;
std::vector<std::string> sweepValues(const std::string& text, std::string& error,
                                     std::string_view option = "--sweep");

struct ParsedArgs {
    ReportArgs args;
    std::string error; // empty when the arguments were understood
};

// The --k text as a ratio of specific heats: air without one; a text that
// is not a number from 1.05 to 1.7 gives the refusal. Numbers here and in
// --sweep are read by readStrictNumber (the whole text is the number), "."
// as the decimal point in every locale ("1,2" and "1.2abc" are refused).
double gasK(const ReportArgs& args, std::string& refusal);

// What the arguments set up beyond the three texts: the gas, the units, the
// engine (with --p0, --t0 and a throat), the design from --area-ratio, the
// back pressure from --altitude (the texts carry both as if typed) and the
// altitudes of --altitude-table.
struct ReportSetup {
    InputTexts texts;
    double k = kAirK;
    std::string gasName = "air";
    UnitSystem units = UnitSystem::SI;
    std::optional<Engine> engine;
    std::optional<double> altitude;     // m
    std::vector<double> tableAltitudes; // m
    PlotQuantity third = PlotQuantity::Pressure;
};
// The setup, or the refusal in words.
std::variant<ReportSetup, std::string> reportSetup(const ReportArgs& args);

// argv without the program name.
ParsedArgs parseReportArgs(const std::vector<std::string>& argv);

// What --help prints.
std::string reportUsage();

} // namespace cdnozzle
