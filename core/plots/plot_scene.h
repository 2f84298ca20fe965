// SPDX-License-Identifier: MIT
// The three plots as data: a coordinate window and ordered line segments.
// The window paints a scene; the report command and the tests read it.
#pragma once

#include "nozzle/calc_flow.h"
#include "nozzle/flow_state.h"
#include "nozzle/limit_curves.h"
#include "plots/plot_kind.h"
#include "results/engine.h"
#include "results/station_data.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cdnozzle {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kPlotBackground{255, 255, 192};

enum class SegmentColor { Grid, Foreground, Red, Blue };

// The palette's grid grey, foreground, flow and expansion-wave colours
// (plots/palette.h); a segment of kind Shock takes the shock's colour.
Rgb rgbOf(SegmentColor color);

// What a segment is, so that a painter never guesses it from its shape: a
// shock (the jump of a curve where the flow crosses one, a shock at the
// exit) may be drawn with a second cue besides its colour.
enum class SegmentKind {
    Line,
    Shock,
    Marker, // a mark in the foreground colour among the references (the back pressure)
};

struct Segment {
    SegmentColor color;
    double x1, y1, x2, y2;
    SegmentKind kind = SegmentKind::Line;
    // A wave from a lip of the exit: drawn from (x1, y1) at its true angle
    // on the surface (x and y at one scale), down to the height of y2,
    // however the plot stretches x.
    bool trueAngle = false;
    bool operator==(const Segment&) const = default;
};

// A text on a plot: at a point of the scene, shifted by some designed
// pixels (so it keeps its distance from a line whatever the plot's size).
enum class LabelRole {
    Tick,   // a value on an axis
    Title,  // an axis's name
    Marker, // where the throat and the exit are
    Limit,  // the back-pressure ratio of a limit flow, beside its curve
};
enum class LabelAlign { Left, Center, Right };
struct SceneLabel {
    double x, y;   // scene units
    double dx, dy; // then designed pixels, right and down
    std::string text;
    LabelAlign align = LabelAlign::Left;
    LabelRole role = LabelRole::Tick;
    bool operator==(const SceneLabel&) const = default;
};

// A line of the legend: a short stroke in the colour (and cue) it explains,
// and its text.
struct LegendEntry {
    SegmentColor color;
    SegmentKind kind = SegmentKind::Line;
    bool faint = false;
    std::string text;
    bool operator==(const LegendEntry&) const = default;
};

// A band of colour filling the plot from y1 to y2 between x1 and x2 (a
// cell of the unsteady flow, coloured by its Mach number), drawn under
// everything else.
struct FillBand {
    double x1, x2, y1, y2;
    Rgb color;
    bool operator==(const FillBand&) const = default;
};

// The user coordinate system is given by its edges: x = left at the left
// edge, x = right at the right edge, y = top at the top edge, y = bottom at
// the bottom edge; x and y map linearly, each on its own scale. Segments
// reaching beyond the window are cut at its edges when painted.
// references are drawn first, faintly: the limit flows behind the flow of
// the moment. labels and the legend are drawn over everything.
struct PlotScene {
    double left = 0, top = 0, right = 0, bottom = 0;
    std::vector<Segment> segments;
    std::vector<Segment> references;
    std::vector<SceneLabel> labels;
    std::vector<LegendEntry> legend;
    // Drawn first, under the references.
    std::vector<FillBand> fills;
    // How many of the first segments (the frame, the walls) and of the
    // first labels stay as they are while only the back pressure moves.
    std::size_t steadySegments = 0;
    std::size_t steadyLabels = 0;
    bool operator==(const PlotScene&) const = default;
};

// Round values between lo and hi for the ticks of an axis: multiples of
// 1, 2 or 5 times a power of ten, at most `most` of them (at least two
// when lo < hi). Nothing for an empty or non-finite range.
std::vector<double> niceTicks(double lo, double hi, int most);

// The geometry plot's A: AA_max, or the exit's area ratio AAe (with the
// sign of AA_max) when the exit is wider than |AA_max| > 0, so that the
// exit and its waves stay in the frame.
double geometryHalfHeight(const FlowState& s);

// Geometry plot: frame (x from -0.2 to 1.2 M_max, y from -A-0.1 at the top
// to A+0.1, A = geometryHalfHeight), grey grid, axis, throat line, both
// walls through stations 1..N_tot, then the marks of the calculation.
void Grafik_Geo(const FlowState& s, const Marks& marks, PlotScene& scene);

// Mach plot: y = -M, the red curve through stations 1..N_tot+1 with the
// vertical jump at i_NS from M(i_NS) to Me. Needs 1 <= i_NS <= N_tot.
// With the limit flows, their Mach numbers faintly behind it.
void Grafik_Mach(const FlowState& s, PlotScene& scene, const LimitCurves* limits = nullptr);

// Pressure plot: y = -p/p0, the twin of the Mach plot with PiPo and PePo_e.
// With the limit flows, their p/p0 faintly behind it, each labelled with
// its back-pressure ratio, and the back pressure marked at the exit.
void Grafik_PiPo(const FlowState& s, PlotScene& scene, const LimitCurves* limits = nullptr);

// The third plot: Grafik_PiPo for p/p0 (and for the thrust, which needs
// an engine: Grafik_Thrust); for T/T0 and rho/rho0 the same frame with
// that quantity's curve and its jump at i_NS.
void Grafik_Third(const FlowState& s, PlotQuantity quantity, PlotScene& scene,
                  const LimitCurves* limits = nullptr);

// The thrust plot's figures: an engine's thrust and specific impulse at
// each altitude of a climb (m, N, s, altitudes rising), the altitude of the
// moment (none when the back pressure came from elsewhere), the three limit
// altitudes, and the units the axes are read in.
struct ThrustPoint {
    double altitude = 0, F = 0, Isp = 0;
    bool operator==(const ThrustPoint&) const = default;
};
struct ThrustPlot {
    std::vector<ThrustPoint> points;
    std::optional<double> current;
    LimitAltitudes limits;
    UnitSystem units = UnitSystem::SI;
};

// Thrust plot: altitude from the first to the last point along x (km, or ft
// in US units), F (red, the left axis) and I_sp (blue, the right axis),
// each drawn at y = -value/top with top a round value at or above its
// largest; the limit altitudes faintly as vertical lines, each named at
// the bottom ("choking", "shock at exit", "design"), and the altitude of
// the moment as a black line with its value, the only part that moves.
// Fewer than two points give the frame alone.
void Grafik_Thrust(const ThrustPlot& plot, PlotScene& scene);

} // namespace cdnozzle
