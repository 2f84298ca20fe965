// SPDX-License-Identifier: MIT
#include "plots/unsteady_scene.h"

#include "text/number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace cdnozzle {

Rgb machColor(double M, double top)
{
    // Viridis at nine even stops, joined linearly.
    static constexpr Rgb kStops[] = {{68, 1, 84},    {71, 45, 123},  {59, 82, 139},
                                     {44, 114, 142}, {33, 145, 140}, {40, 174, 128},
                                     {94, 201, 98},  {173, 220, 48}, {253, 231, 37}};
    constexpr int last = 8;
    double f = top > 0 && std::isfinite(M) ? std::clamp(M / top, 0.0, 1.0) : 0.0;
    // 64 shades, more than an eye tells apart: neighbouring cells of one
    // shade are painted in one stroke.
    f = std::round(f * 64) / 64 * last;
    const int i = std::min(static_cast<int>(f), last - 1);
    const double w = f - i;
    const auto mix = [w](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + w * (b - a)));
    };
    const Rgb a = kStops[i], b = kStops[i + 1];
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

double machScaleTop(double M_max)
{
    return std::max(1.0, std::ceil(1.2 * M_max - 1e-9));
}

namespace {

double cellQuantity(const CellValues& c, PlotKind plot, PlotQuantity third)
{
    if (plot == PlotKind::Mach) return c.M;
    switch (third) {
    case PlotQuantity::Temperature: return c.T;
    case PlotQuantity::Density: return c.rho;
    case PlotQuantity::Pressure:
    case PlotQuantity::Thrust: break;
    }
    return c.p;
}

} // namespace

void overlayCells(PlotScene& scene, const std::vector<CellValues>& cells, PlotKind plot,
                  PlotQuantity third)
{
    if (plot == PlotKind::Geometry || (plot == PlotKind::Third && third == PlotQuantity::Thrust))
        return;
    // The steady flow goes behind, ahead of the other references.
    const auto curve = scene.segments.begin() + static_cast<std::ptrdiff_t>(scene.steadySegments);
    scene.references.insert(scene.references.begin(), curve, scene.segments.end());
    scene.segments.erase(curve, scene.segments.end());
    for (std::size_t i = 1; i < cells.size(); ++i) {
        const double a = cellQuantity(cells[i - 1], plot, third);
        const double b = cellQuantity(cells[i], plot, third);
        if (!std::isfinite(a + b)) continue;
        scene.segments.push_back({SegmentColor::Red, cells[i - 1].x, -a, cells[i].x, -b});
    }
    scene.legend = {{SegmentColor::Red, SegmentKind::Line, false, "cells"},
                    {SegmentColor::Red, SegmentKind::Line, true, "steady"}};
}

void fillWithMach(PlotScene& scene, const std::vector<CellValues>& cells, const FlowState& s)
{
    scene.segments.resize(std::min(scene.segments.size(), scene.steadySegments));
    scene.legend.clear();
    scene.fills.clear();
    const double top = machScaleTop(s.M_max);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CellValues& c = cells[i];
        const double left = i > 0 ? 0.5 * (cells[i - 1].x + c.x) : c.x;
        const double right = i + 1 < cells.size() ? 0.5 * (c.x + cells[i + 1].x) : c.x;
        // The walls stand at half the area ratio.
        const double wall = 0.5 * c.area;
        scene.fills.push_back({left, right, -wall, wall, machColor(c.M, top)});
    }
    // The scale: a column right of the exit, M = 0 at its foot, top at its
    // head, in the lower part of the plot (clear of the legend and of the
    // axis's name).
    const double A = std::fabs(geometryHalfHeight(s));
    if (!(A > 0) || !std::isfinite(A)) return;
    const double x1 = 1.06 * s.M_max, x2 = 1.1 * s.M_max;
    const double foot = 0.85 * A, head = 0.15 * A;
    constexpr int kBands = 32;
    for (int b = 0; b < kBands; ++b) {
        const double y1 = foot + (head - foot) * b / kBands;
        const double y2 = foot + (head - foot) * (b + 1) / kBands;
        scene.fills.push_back({x1, x2, y2, y1, machColor(top * (b + 0.5) / kBands, top)});
    }
    for (double v : niceTicks(0, top, 4)) {
        scene.labels.push_back({x2, foot + (head - foot) * v / top, 3, 3, formatShown(v),
                                LabelAlign::Left, LabelRole::Tick});
    }
    scene.labels.push_back(
        {0.5 * (x1 + x2), head, 0, -4, "M", LabelAlign::Center, LabelRole::Title});
}

void drawHistoryStrip(PlotScene& scene, const std::vector<HistoryPoint>& history,
                      const FlowState& s)
{
    const double height = scene.bottom - scene.top;
    if (!(height > 0) || !(s.M_max > 0)) return;
    const double x1 = 0.3 * s.M_max, x2 = 0.95 * s.M_max;
    // Below the widest wall over the strip's length, above the values on
    // the abscissa.
    double wall = 0;
    for (int i = 1; i <= s.N_tot; ++i)
        if (s.x[i] >= x1 && s.x[i] <= x2) wall = std::max(wall, std::fabs(s.y[i]));
    const double top = wall + 0.1 * height, bottom = scene.bottom - 0.12 * height;
    if (bottom - top < 0.15 * height) return;
    const auto box = {Segment{SegmentColor::Grid, x1, top, x2, top},
                      Segment{SegmentColor::Grid, x2, top, x2, bottom},
                      Segment{SegmentColor::Grid, x2, bottom, x1, bottom},
                      Segment{SegmentColor::Grid, x1, bottom, x1, top}};
    scene.segments.insert(scene.segments.end(), box.begin(), box.end());
    scene.legend = {{SegmentColor::Blue, SegmentKind::Line, false, "residual, log"},
                    {SegmentColor::Red, SegmentKind::Line, false, "ṁ_exit/ṁ*"}};
    if (history.empty()) return;
    const double tEnd = history.back().t;
    if (!(tEnd > 0)) return;
    const auto up = [&](double share) {
        return bottom - std::clamp(share, 0.0, 1.0) * (bottom - top);
    };
    const auto at = [&](const HistoryPoint& h) {
        return std::array<double, 3>{x1 + (x2 - x1) * h.t / tEnd,
                                     h.residual > 0 ? up((std::log10(h.residual) + 6) / 8) : bottom,
                                     up(h.mdotExit / 1.2)};
    };
    // At most 200 points of the history, evenly spread; each curve is drawn
    // whole, the residual's and then the mass flow's (one stroke each for a
    // painter that joins lines of one colour).
    const std::size_t n = history.size(), stride = std::max<std::size_t>(1, n / 200);
    std::vector<std::array<double, 3>> points{at(history.front())};
    for (std::size_t i = stride; i < n + stride; i += stride) {
        const std::array<double, 3> now = at(history[std::min(i, n - 1)]);
        if (std::isfinite(now[0] + now[1] + now[2])) points.push_back(now);
        if (i >= n - 1) break;
    }
    for (const auto& [color, y] : {std::pair{SegmentColor::Blue, 1}, {SegmentColor::Red, 2}}) {
        for (std::size_t i = 1; i < points.size(); ++i)
            scene.segments.push_back(
                {color, points[i - 1][0], points[i - 1][y], points[i][0], points[i][y]});
    }
}

} // namespace cdnozzle
