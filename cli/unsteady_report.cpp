// SPDX-License-Identifier: MIT
#include "unsteady_report.h"

#include "frames_folder.h"

#include "gas/gas.h"
#include "io/file_output.h"
#include "results/station_data.h"
#include "text/number_text.h"
#include "text/validation.h"
#include "unsteady/exact_flow.h"
#include "unsteady/unsteady_flow.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <string_view>
#include <unistd.h>

namespace cdnozzle {

namespace {

constexpr int kWriteFailed = 1;
constexpr int kRefused = 2;
constexpr long kMaxSteps = 10000000;
constexpr double kMaxTime = 100000;
// Cell updates a run to steady may take at most (a flow that never settles,
// such as a shock in the last cells of a coarse grid, stops there).
constexpr long kMaxSteadyWork = 200000000;
constexpr std::size_t kJsonHistoryPoints = 2000;

struct Option {
    std::string_view name;
    bool flag;
    std::string_view help;
};

constexpr std::array kUnsteadyOptions{
    Option{"--unsteady", true, "run the flow in time instead of the steady calculation"},
    Option{"--me-sup", false, "design exit Mach number of the program's nozzle (2)"},
    Option{"--pe-po", false, "back-pressure ratio pb/p0 the flow runs against (1)"},
    Option{"--from-pe-po", false, "with --start steady: the back pressure of the steady start"},
    Option{"--k", false, "ratio of specific heats, 1.05 to 1.7 (1.4)"},
    Option{"--gas", false, "a listed gas by name instead of --k"},
    Option{"--contour", false, "textbook, or a CSV file of x,A/At (the program's nozzle)"},
    Option{"--cells", false, "cells (grid points for MacCormack), 20 to 5000 (400)"},
    Option{"--scheme", false,
           "muscl-hllc, upwind, maccormack or maccormack-conservative (muscl-hllc)"},
    Option{"--cfl", false, "Courant number, above 0 and at most 1 (0.8)"},
    Option{"--cx", false, "artificial viscosity of maccormack-conservative, 0 to 1 (0.2)"},
    Option{"--start", false, "rest, diaphragm, steady or textbook (rest)"},
    Option{"--steps", false, "run this many time steps"},
    Option{"--t-end", false, "run to this time, in units of L/a0"},
    Option{"--until-steady", true, "run until the flow is steady (the default)"},
    Option{"--json", true, "write the final state, the events and the history as JSON"},
    Option{"--csv", false, "save the cells as CSV (- for standard output)"},
    Option{"--history", false, "save the time series as CSV (- for standard output)"},
    Option{"--frames", false,
           "a folder for numbered PNG pictures of the flow, new or without frames"},
    Option{"--every", false, "with --frames: a picture every this many steps (100)"},
    Option{"--help", true, "print this help and exit"},
};

const Option* findOption(std::string_view name)
{
    for (const Option& o : kUnsteadyOptions)
        if (o.name == name) return &o;
    return nullptr;
}

std::string got(const std::string& text)
{
    return quotedInput(text);
}

// The whole number a text gives, from lo to hi; nothing for any other text.
std::optional<long> wholeNumber(const std::string& text, double lo, double hi)
{
    const auto v = readStrictNumber(text);
    if (!v || *v != std::floor(*v) || *v < lo || *v > hi) return std::nullopt;
    return static_cast<long>(*v);
}

bool writeStdout(const std::string& text)
{
    if (const auto failure = writeAll(STDOUT_FILENO, text)) {
        std::cerr << "cdnozzle-report: could not write to standard output: " << *failure << '\n';
        return false;
    }
    return true;
}

bool writeOutput(const std::string& path, const std::string& bytes)
{
    if (path == "-") return writeStdout(bytes);
    if (const auto failure = saveFile(path, bytes)) {
        std::cerr << "cdnozzle-report: could not save " << path << ": " << *failure << '\n';
        return false;
    }
    return true;
}

std::string number(double v)
{
    return formatGeneral(std::isfinite(v) ? v : 0);
}

// A residual in a sentence: three figures, "1.23e-06".
std::string residualText(double r)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2e", std::isfinite(r) ? r : 0);
    return text;
}

std::string_view regimeWords(SteadyRegime r)
{
    switch (r) {
    case SteadyRegime::Subsonic: return "subsonic";
    case SteadyRegime::ShockInside: return "normal shock inside";
    case SteadyRegime::Supersonic: return "supersonic";
    }
    return "subsonic";
}

std::string historyCsv(const UnsteadyFlow& flow)
{
    std::string out = "step,t,residual,mdot_throat/mdot*,mdot_exit/mdot*,shock_x\n";
    for (const HistoryPoint& h : flow.history()) {
        out += std::to_string(h.step) + "," + number(h.t) + "," + number(h.residual) + "," +
               number(h.mdotThroat) + "," + number(h.mdotExit) + "," +
               (h.shock ? number(h.shockX) : std::string()) + "\n";
    }
    return out;
}

// A plot of one quantity of the cells (red) over the exact steady flow's
// (faint), y from 0 at the bottom to a round top, with its grid and ticks.
PlotScene cellPlot(const UnsteadyFlow& flow, const SteadyFlow& exact, bool mach)
{
    const Contour& c = flow.contour();
    const std::vector<CellValues> cells = flow.cells();
    std::vector<double> exactY;
    double top = 1;
    for (const CellValues& cell : cells) {
        const SteadyPoint s = steadyPointAt(flow.gas(), c, exact, cell.x);
        exactY.push_back(mach ? s.M : s.p);
        top = std::max({top, mach ? cell.M : cell.p, exactY.back()});
    }
    const std::vector<double> yTicks = niceTicks(0, top, 6);
    if (yTicks.size() > 1) top = std::max(top, yTicks.back());
    PlotScene scene;
    const double margin = 0.05 * c.length();
    scene.left = c.xBegin - margin;
    scene.right = c.xEnd + margin;
    scene.top = 1.25 * top; // room for the caption and the legend
    scene.bottom = -0.08 * top;
    for (const double y : yTicks) {
        scene.segments.push_back({SegmentColor::Grid, c.xBegin, y, c.xEnd, y});
        scene.labels.push_back({c.xBegin, y, -4, 4, formatGeneral(y), LabelAlign::Right});
    }
    for (const double x : niceTicks(c.xBegin, c.xEnd, 8)) {
        scene.segments.push_back({SegmentColor::Grid, x, 0, x, top});
        scene.labels.push_back({x, 0, 0, 14, formatGeneral(x), LabelAlign::Center});
    }
    for (std::size_t i = 1; i < cells.size(); ++i) {
        scene.references.push_back(
            {SegmentColor::Blue, cells[i - 1].x, exactY[i - 1], cells[i].x, exactY[i]});
        const double y0 = mach ? cells[i - 1].M : cells[i - 1].p;
        const double y1 = mach ? cells[i].M : cells[i].p;
        scene.segments.push_back({SegmentColor::Red, cells[i - 1].x, y0, cells[i].x, y1});
    }
    scene.legend.push_back({SegmentColor::Red, SegmentKind::Line, false, "cells"});
    scene.legend.push_back({SegmentColor::Blue, SegmentKind::Line, true, "exact steady flow"});
    return scene;
}

// The contour's walls at plus and minus A/At, with the throat marked.
PlotScene contourPlot(const Contour& c)
{
    PlotScene scene;
    double amax = 1;
    const int points = 200;
    for (int i = 0; i <= points; ++i)
        amax = std::max(amax, c.area(c.xBegin + c.length() * i / points) / c.throatArea);
    const double margin = 0.05 * c.length();
    scene.left = c.xBegin - margin;
    scene.right = c.xEnd + margin;
    scene.top = -1.1 * amax;
    scene.bottom = 1.1 * amax;
    scene.segments.push_back({SegmentColor::Grid, c.xBegin, 0, c.xEnd, 0});
    scene.segments.push_back(
        {SegmentColor::Grid, c.throatX, -1, c.throatX, 1, SegmentKind::Marker});
    for (int i = 1; i <= points; ++i) {
        const double x0 = c.xBegin + c.length() * (i - 1) / points;
        const double x1 = c.xBegin + c.length() * i / points;
        const double a0 = c.area(x0) / c.throatArea, a1 = c.area(x1) / c.throatArea;
        scene.segments.push_back({SegmentColor::Foreground, x0, -a0, x1, -a1});
        scene.segments.push_back({SegmentColor::Foreground, x0, a0, x1, a1});
    }
    scene.labels.push_back({c.throatX, 1, 0, 14, "throat", LabelAlign::Center, LabelRole::Marker});
    return scene;
}

} // namespace

DisplayList unsteadyFigure(const UnsteadyFlow& flow)
{
    const SteadyFlow exact = steadyFlow(flow.gas(), flow.contour(), flow.backPressure());
    const std::string stamp =
        std::string(schemeName(flow.settings().scheme)) + ", " + std::to_string(flow.cellCount()) +
        " cells, Pe/Po = " + formatRounded4(flow.backPressure()) +
        ": t = " + formatRounded4(flow.time()) + " L/a0, step " + std::to_string(flow.steps());
    return exportedFigure(contourPlot(flow.contour()), cellPlot(flow, exact, true),
                          cellPlot(flow, exact, false), "p/p0", {}, stamp);
}

bool wantsUnsteady(const std::vector<std::string>& argv)
{
    return std::find(argv.begin(), argv.end(), "--unsteady") != argv.end();
}

std::string unsteadyUsage()
{
    std::string out = "usage: cdnozzle-report --unsteady [options]\n"
                      "The flow in time: quasi-one-dimensional Euler equations on the nozzle's "
                      "contour, from a start to a step count, a time (L/a0) or steady.\n";
    for (const Option& o : kUnsteadyOptions) {
        std::string left = "  " + std::string(o.name) + (o.flag ? "" : " VALUE");
        left.resize(std::max<std::size_t>(left.size() + 1, 26), ' ');
        out += left + std::string(o.help) + "\n";
    }
    return out;
}

int unsteadyReport(const std::vector<std::string>& argv)
{
    return unsteadyReport(argv, {});
}

int unsteadyReport(const std::vector<std::string>& argv, const PngOf& png)
{
    std::map<std::string, std::string, std::less<>> values;
    auto refuse = [](const std::string& why) {
        std::cerr << "cdnozzle-report: " << why << '\n';
        return kRefused;
    };
    for (std::size_t i = 0; i < argv.size(); ++i) {
        std::string name = argv[i], value;
        bool inlineValue = false;
        if (const std::size_t eq = name.find('=');
            name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        const Option* o = findOption(name);
        if (!o)
            return refuse("unknown option " + got(name) +
                          " in the unsteady mode (see --unsteady --help)");
        if (values.contains(name)) return refuse(name + " is given twice");
        if (o->flag) {
            if (inlineValue) return refuse(name + " takes no value");
        } else if (!inlineValue) {
            if (i + 1 >= argv.size() || argv[i + 1].starts_with("--"))
                return refuse(name + " needs a value");
            value = argv[++i];
        }
        values[name] = value;
    }
    if (values.contains("--help")) return writeStdout(unsteadyUsage()) ? 0 : kWriteFailed;
    auto has = [&](std::string_view n) { return values.contains(n); };
    auto text = [&](std::string_view n, std::string fallback) {
        const auto it = values.find(n);
        return it == values.end() ? fallback : it->second;
    };

    // The gas.
    double k = kAirK;
    if (has("--k") && has("--gas")) return refuse("give --k or --gas, not both");
    if (has("--gas")) {
        if (const auto refusal = validateGasName(values["--gas"])) return refuse(*refusal);
        k = findGas(values["--gas"])->k;
    } else if (has("--k")) {
        const auto v = readStrictNumber(values["--k"]);
        if (!v) return refuse("--k must be a number from 1.05 to 1.7 " + got(values["--k"]));
        if (const auto refusal = validateGasK(*v, values["--k"])) return refuse(*refusal);
        k = *v;
    }
    const Gas gas = gasOf(k);

    // The nozzle and the back pressures, checked as the boxes check them.
    InputNumbers inputs;
    const InputTexts texts{text("--me-sup", "2"), "3", text("--pe-po", "1")};
    if (const auto refusal = validateInputs(texts, &inputs)) {
        std::cerr << *refusal << '\n';
        return kRefused;
    }
    double fromPb = inputs.PePo;
    if (has("--from-pe-po")) {
        InputNumbers from;
        if (const auto refusal =
                validateInputs({texts.me_sup, "3", values["--from-pe-po"]}, &from)) {
            std::cerr << *refusal << " (--from-pe-po)\n";
            return kRefused;
        }
        fromPb = from.PePo;
    }

    Contour contour = nozzleContour(gas, inputs.M_max);
    if (has("--contour")) {
        const std::string& c = values["--contour"];
        if (c == "textbook") {
            contour = textbookContour();
        } else {
            // 100000 points of two numbers each fit in a few megabytes.
            std::string bytes;
            if (const auto failure = readSmallFile(c, 16 << 20, bytes))
                return refuse("could not read the contour " + c + ": " + *failure);
            const auto read = contourFromCsv(bytes);
            if (const auto* refusal = std::get_if<std::string>(&read))
                return refuse(c + ": " + *refusal);
            contour = std::get<Contour>(read);
        }
    }

    UnsteadySettings settings;
    if (has("--scheme")) {
        const auto s = schemeOfName(values["--scheme"]);
        if (!s)
            return refuse("--scheme must be muscl-hllc, upwind, maccormack or "
                          "maccormack-conservative " +
                          got(values["--scheme"]));
        settings.scheme = *s;
        if (*s == Scheme::MacCormack || *s == Scheme::MacCormackConservative)
            settings.courant = 0.5;
    }
    if (has("--cells")) {
        const auto v = wholeNumber(values["--cells"], -1e9, 1e9);
        if (!v)
            return refuse("The number of cells must be a whole number from 20 to 5000 " +
                          got(values["--cells"]));
        settings.cells = static_cast<int>(*v);
    }
    if (has("--cfl")) {
        const auto v = readStrictNumber(values["--cfl"]);
        if (!v) return refuse("The Courant number must be a number " + got(values["--cfl"]));
        settings.courant = *v;
    }
    if (has("--cx")) {
        const auto v = readStrictNumber(values["--cx"]);
        if (!v)
            return refuse("The artificial viscosity Cx must be a number " + got(values["--cx"]));
        settings.artificialViscosity = *v;
    }
    if (const auto refusal = validateUnsteadySettings(settings)) return refuse(*refusal);
    Start start = Start::Rest;
    if (has("--start")) {
        const auto s = startOfName(values["--start"]);
        if (!s)
            return refuse("--start must be rest, diaphragm, steady or textbook " +
                          got(values["--start"]));
        start = *s;
    }
    if (has("--from-pe-po") && start != Start::Steady)
        return refuse("--from-pe-po goes with --start steady");

    const int goals = has("--steps") + has("--t-end") + has("--until-steady");
    if (goals > 1) return refuse("give one of --steps, --t-end and --until-steady");
    long steps = 0;
    double tEnd = 0;
    if (has("--steps")) {
        const auto v = wholeNumber(values["--steps"], 0, kMaxSteps);
        if (!v)
            return refuse("--steps must be a whole number from 0 to 10000000 " +
                          got(values["--steps"]));
        steps = *v;
    }
    if (has("--t-end")) {
        const auto v = readStrictNumber(values["--t-end"]);
        if (!v || !(*v > 0) || *v > kMaxTime)
            return refuse("--t-end must be a time above 0 and at most 100000 (L/a0) " +
                          got(values["--t-end"]));
        tEnd = *v;
    }

    // Standard output carries one output alone; two outputs under one name
    // would leave only the second.
    const bool csvOut = has("--csv") && values["--csv"] == "-";
    const bool historyOut = has("--history") && values["--history"] == "-";
    if (csvOut && historyOut)
        return refuse("only one of --csv and --history can write to standard output");
    if (has("--json") && (csvOut || historyOut))
        return refuse(std::string("--json cannot go with ") + (csvOut ? "--csv -" : "--history -") +
                      ", which writes that file alone to standard output");
    if (has("--csv") && has("--history") && sameOutputFile(values["--csv"], values["--history"]))
        return refuse("--csv and --history name the same file " + values["--csv"] +
                      "; give each its own");

    long every = 0;
    if (has("--every") && !has("--frames")) return refuse("--every goes with --frames");
    if (has("--frames")) {
        if (values["--frames"] == "-")
            return refuse("--frames needs a folder, not standard output");
        if (!png) return refuse("--frames needs the command's image renderer");
        every = 100;
        if (has("--every")) {
            const auto v = wholeNumber(values["--every"], 1, kMaxSteps);
            if (!v)
                return refuse("--every must be a whole number of steps from 1 to 10000000 " +
                              got(values["--every"]));
            every = *v;
        }
        if (const int status = prepareFramesFolder(values["--frames"])) return status;
    }

    UnsteadyFlow flow(gas, contour, settings, inputs.PePo, start, fromPb);
    const long steadyLimit = std::min<long>(kMaxSteps, kMaxSteadyWork / settings.cells);
    const long limit = has("--steps") ? steps : has("--t-end") ? kMaxSteps : steadyLimit;
    // Runs up to count more steps toward the goal; false once it is reached
    // or the flow cannot go on.
    auto advance = [&](long count) {
        count = std::min(count, limit - flow.steps());
        if (count <= 0 || flow.brokeDown()) return false;
        if (has("--steps")) return flow.run(count) && flow.steps() < limit;
        if (has("--t-end"))
            return !flow.runUntilTime(tEnd, count) && !flow.brokeDown() && flow.steps() < limit;
        return !flow.runUntilSteady(count) && !flow.brokeDown() && flow.steps() < limit;
    };
    std::string listing;
    if (every > 0) {
        // The frames' listing goes where the text report goes.
        const bool listed = !has("--json") && !csvOut && !historyOut;
        // Numbered to the most frames the run can take (their count is not
        // known before the run ends).
        const long most = limit / every + 2;
        long frame = 0;
        bool more = true;
        long shown = -1;
        while (shown != flow.steps()) {
            const std::string path = framePath(values["--frames"], ++frame, most);
            if (!writeOutput(path, png(unsteadyFigure(flow)))) {
                if (listed) writeStdout(listing);
                return kWriteFailed;
            }
            shown = flow.steps();
            if (listed)
                listing += path + "\tstep=" + std::to_string(flow.steps()) +
                           "\tt=" + formatRounded4(flow.time()) + "\n";
            if (more) more = advance(every);
        }
        if (listed && !writeStdout(listing)) return kWriteFailed;
    } else {
        advance(limit);
    }

    const SteadyFlow exact = steadyFlow(gas, contour, inputs.PePo);
    const auto shock = flow.shockPosition();
    bool ok = true;
    if (has("--json")) {
        nlohmann::ordered_json j;
        j["contour"] = contour.name();
        j["k"] = k;
        j["Me_Sup"] = inputs.M_max;
        j["Pe/Po"] = inputs.PePo;
        j["scheme"] = std::string(schemeName(settings.scheme));
        j["cells_count"] = settings.cells;
        j["courant"] = settings.courant;
        j["start"] = std::string(startName(start));
        j["t"] = flow.time();
        j["steps"] = flow.steps();
        j["residual"] = flow.residual();
        j["steady"] = flow.steady();
        j["broke_down"] = flow.brokeDown() ? nlohmann::ordered_json(flow.failure()) : nullptr;
        j["shock_x"] = shock ? nlohmann::ordered_json(*shock) : nullptr;
        nlohmann::ordered_json e;
        e["regime"] = std::string(regimeWords(exact.regime));
        e["mdot/mdot*"] = exact.mdot;
        e["shock_x"] = exact.regime == SteadyRegime::ShockInside
                           ? nlohmann::ordered_json(exact.shockX)
                           : nullptr;
        e["pe/p0 subsonic limit"] = exact.subsonicLimit;
        e["pe/p0 shock at exit"] = exact.exitShockLimit;
        e["pe/p0 design"] = exact.designPressure;
        j["exact_steady"] = e;
        nlohmann::ordered_json cells = nlohmann::ordered_json::array();
        for (const CellValues& c : flow.cells()) {
            const SteadyPoint s = steadyPointAt(gas, contour, exact, c.x);
            cells.push_back({{"x", c.x},
                             {"A/At", c.area},
                             {"rho/rho0", c.rho},
                             {"u/a0", c.u},
                             {"p/p0", c.p},
                             {"T/T0", c.T},
                             {"M", c.M},
                             {"mdot/mdot*", c.mdot},
                             {"exact M", s.M},
                             {"exact p/p0", s.p}});
        }
        j["cells"] = cells;
        nlohmann::ordered_json events = nlohmann::ordered_json::array();
        for (const UnsteadyEvent& ev : flow.events())
            events.push_back({{"event", std::string(eventName(ev.kind))},
                              {"step", ev.step},
                              {"t", ev.t},
                              {"x", ev.x}});
        j["events"] = events;
        nlohmann::ordered_json history = nlohmann::ordered_json::array();
        const auto& h = flow.history();
        const std::size_t every =
            std::max<std::size_t>(1, (h.size() + kJsonHistoryPoints - 1) / kJsonHistoryPoints);
        for (std::size_t i = 0; i < h.size(); ++i) {
            if (i % every != 0 && i + 1 != h.size()) continue;
            history.push_back({{"step", h[i].step},
                               {"t", h[i].t},
                               {"residual", h[i].residual},
                               {"mdot throat", h[i].mdotThroat},
                               {"mdot exit", h[i].mdotExit},
                               {"shock_x", h[i].shock ? nlohmann::ordered_json(h[i].shockX)
                                                      : nlohmann::ordered_json(nullptr)}});
        }
        j["history"] = history;
        ok = writeStdout(j.dump(1) + "\n");
    } else if (!csvOut && !historyOut) {
        std::string out = std::string(schemeName(settings.scheme)) + ", " +
                          std::to_string(settings.cells) + " cells, Courant number " +
                          number(settings.courant) + ", start " + std::string(startName(start)) +
                          ", contour " + contour.name() + "\n";
        out += "t=" + formatRounded4(flow.time()) + " L/a0 after " + std::to_string(flow.steps()) +
               " steps, residual " + residualText(flow.residual()) +
               (flow.steady() ? " (steady)"
                : has("--steps") || has("--t-end")
                    ? ""
                    : " (not steady: the run stopped at its step limit)") +
               "\n";
        for (const UnsteadyEvent& ev : flow.events())
            out += std::string(eventName(ev.kind)) + " at t=" + formatRounded4(ev.t) + " (step " +
                   std::to_string(ev.step) + ")\n";
        if (flow.brokeDown()) out += flow.failure() + "\n";
        const std::string exactShock = exact.regime == SteadyRegime::ShockInside
                                           ? ", shock at x=" + formatRounded4(exact.shockX)
                                           : std::string();
        out += "shock: " + (shock ? "x=" + formatRounded4(*shock) : std::string("none")) +
               "; exact steady: " + std::string(regimeWords(exact.regime)) + exactShock + "\n";
        ok = writeStdout(out);
    }
    if (has("--csv")) ok = writeOutput(values["--csv"], cellsCsv(flow)) && ok;
    if (has("--history")) ok = writeOutput(values["--history"], historyCsv(flow)) && ok;
    return ok ? 0 : kWriteFailed;
}

} // namespace cdnozzle
