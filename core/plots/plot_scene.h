// The three plots as data: a coordinate window and ordered line segments.
// The window paints a scene; the report command and the tests read it.
#pragma once

#include "nozzle/flow_state.h"
#include "results/station_data.h"
#include "nozzle/calc_flow.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace cdnozzle {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kPlotBackground{255, 255, 192};

enum class SegmentColor { Grid, Foreground, Red, Blue };

// (200,200,200), black, (255,0,0), (0,0,255).
Rgb rgbOf(SegmentColor color);

struct Segment {
    SegmentColor color;
    double x1, y1, x2, y2;
    bool operator==(const Segment&) const = default;
};

// The user coordinate system is given by its edges: x = left at the left
// edge, x = right at the right edge, y = top at the top edge, y = bottom at
// the bottom edge; x and y map linearly, each on its own scale. Segments
// reaching beyond the window are cut at its edges when painted.
struct PlotScene {
    double left = 0, top = 0, right = 0, bottom = 0;
    std::vector<Segment> segments;
    bool operator==(const PlotScene&) const = default;
};

// Geometry plot: frame (x from -0.2 to 1.2 M_max, y from -AA_max-0.1 at the
// top to AA_max+0.1), grey grid, axis, throat line, both walls through
// stations 1..N_tot, then the marks of the calculation.
void Grafik_Geo(const FlowState& s, const Marks& marks, PlotScene& scene);

// Mach plot: y = -M, the red curve through stations 1..N_tot+1 with the
// vertical jump at i_NS from M(i_NS) to Me. Needs 1 <= i_NS <= N_tot.
void Grafik_Mach(const FlowState& s, PlotScene& scene);

// Pressure plot: y = -p/p0, the twin of the Mach plot with PiPo and PePo_e.
void Grafik_PiPo(const FlowState& s, PlotScene& scene);


// The third plot: Grafik_PiPo for p/p0; for T/T0 and rho/rho0 the same
// frame with that quantity's curve and its jump at i_NS.
void Grafik_Third(const FlowState& s, PlotQuantity quantity, PlotScene& scene);

} // namespace cdnozzle
