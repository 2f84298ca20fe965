// SPDX-License-Identifier: MIT
#include "plots/plot_scene.h"

#include "gas/atmosphere.h"
#include "plots/palette.h"

#include "results/flow_figures.h"
#include "text/number_text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace cdnozzle {

Rgb rgbOf(SegmentColor color)
{
    switch (color) {
    case SegmentColor::Grid: return paletteColor(PaletteRole::Grid);
    case SegmentColor::Foreground: return paletteColor(PaletteRole::Foreground);
    case SegmentColor::Red: return paletteColor(PaletteRole::Flow);
    case SegmentColor::Blue: return paletteColor(PaletteRole::Wave);
    }
    return {0, 0, 0};
}

namespace {

// Counted loop: the counter starts at a and grows by repeated addition of
// step in double arithmetic, with a pass while it is not above b. The pass
// limit only guards against inputs that validation already refuses.
template <class Body> void countedLoop(double a, double b, double step, Body body)
{
    constexpr int kMaxPasses = 100000;
    int passes = 0;
    for (double v = a; v <= b && passes < kMaxPasses; v += step, ++passes) body(v);
}

struct FrameRow {
    double L, T, R, B;
    double V1, V2;
    double G1, G2, Gs;
    double W1, W2;
};

// Window, clear, vertical grid, horizontal grid, base line, throat line.
void drawFrame(const FlowState& s, const FrameRow& f, PlotScene& scene)
{
    scene.left = f.L;
    scene.top = f.T;
    scene.right = f.R;
    scene.bottom = f.B;
    scene.segments.clear();
    scene.references.clear();
    scene.labels.clear();
    scene.legend.clear();
    scene.steadySegments = 0;
    scene.steadyLabels = 0;
    const double Mmax = s.M_max;
    countedLoop(0, Mmax, 0.5, [&](double xg) {
        scene.segments.push_back({SegmentColor::Grid, xg, f.V1, xg, f.V2});
    });
    countedLoop(f.G1, f.G2, f.Gs, [&](double yg) {
        scene.segments.push_back({SegmentColor::Grid, 0, yg, Mmax, yg});
    });
    scene.segments.push_back({SegmentColor::Foreground, 0, 0, Mmax, 0});
    scene.segments.push_back({SegmentColor::Foreground, 1, f.W1, 1, f.W2});
}

// A pressure rise at the jump: the flow crosses a shock there.
bool jumpIsShock(const FlowState& s)
{
    return s.PePo_e > s.PiPo[s.i_NS];
}

// The red curve through stations 1..N_tot+1 of values v, with the vertical
// jump at i_NS to the value behind it.
void drawCurveWithJump(const FlowState& s, const StationArray& v, double behindJump,
                       PlotScene& scene)
{
    auto& seg = scene.segments;
    const int j = s.i_NS;
    for (int i = 2; i <= j; ++i) {
        seg.push_back({SegmentColor::Red, s.x[i - 1], -v[i - 1], s.x[i], -v[i]});
    }
    seg.push_back({SegmentColor::Red, s.x[j], -v[j], s.x[j], -behindJump,
                   jumpIsShock(s) ? SegmentKind::Shock : SegmentKind::Line});
    seg.push_back({SegmentColor::Red, s.x[j], -behindJump, s.x[j + 1], -v[j + 1]});
    for (int i = j + 1; i <= s.N_tot; ++i) {
        seg.push_back({SegmentColor::Red, s.x[i], -v[i], s.x[i + 1], -v[i + 1]});
    }
}

std::string tickText(double v)
{
    return formatShown(v);
}

// Values along the abscissa (under the base line, or at the bottom edge),
// the axis's name at its right end, and the throat and the exit at the top.
void abscissa(const FlowState& s, PlotScene& scene, double labelsAt, double dy)
{
    for (double x : niceTicks(0, s.M_max, 6))
        scene.labels.push_back(
            {x, labelsAt, 0, dy, tickText(x), LabelAlign::Center, LabelRole::Tick});
    scene.labels.push_back({scene.right, 0, -3, -3, "x", LabelAlign::Right, LabelRole::Title});
    if (s.M_max == 1) {
        scene.labels.push_back(
            {1, scene.top, 0, 10, "throat = exit", LabelAlign::Center, LabelRole::Marker});
        return;
    }
    scene.labels.push_back({1, scene.top, 0, 10, "throat", LabelAlign::Center, LabelRole::Marker});
    scene.labels.push_back(
        {s.M_max, scene.top, 0, 10, "exit", LabelAlign::Center, LabelRole::Marker});
}

// Values up the ordinate (drawn at y = -value), at the left edge.
void ordinate(PlotScene& scene, double hi, int most)
{
    for (double v : niceTicks(0, hi, most)) {
        if (v == 0) continue; // the abscissa's own values stand there
        scene.labels.push_back(
            {scene.left, -v, 2, 3, tickText(v), LabelAlign::Left, LabelRole::Tick});
    }
}

// A limit flow's station values of the plotted quantity, and its jet's.
using StationQuantity = double (*)(const Gas&, double M, double PiPo);
double machOf(const Gas&, double M, double)
{
    return M;
}
double pressureOf(const Gas&, double, double PiPo)
{
    return PiPo;
}
double temperatureOf(const Gas& g, double M, double PiPo)
{
    return stationQuantities(g, M, PiPo).T_T0;
}
double densityOf(const Gas& g, double M, double PiPo)
{
    return stationQuantities(g, M, PiPo).rho_rho0;
}

// A limit flow faintly: its curve over the stations, the jump behind the
// exit where it has one, and its back-pressure ratio beside the exit.
void drawLimit(const FlowState& s, const LimitFlow& f, StationQuantity q, bool label,
               PlotScene& scene)
{
    auto& ref = scene.references;
    const int e = s.N_tot;
    for (int i = 2; i <= e; ++i) {
        ref.push_back({SegmentColor::Red, s.x[i - 1], -q(s, f.M[i - 1], f.PiPo[i - 1]), s.x[i],
                       -q(s, f.M[i], f.PiPo[i])});
    }
    const double exit = -q(s, f.M[e], f.PiPo[e]);
    const double jet = -q(s, f.Mjet, f.PiPoJet);
    if (jet != exit)
        ref.push_back({SegmentColor::Red, s.x[e], exit, s.x[e], jet, SegmentKind::Shock});
    ref.push_back({SegmentColor::Red, s.x[e], jet, s.x[e + 1], jet});
    if (label)
        scene.labels.push_back(
            {s.x[e + 1], jet, 3, 3, formatShown(f.PePo), LabelAlign::Left, LabelRole::Limit});
}

void drawLimits(const FlowState& s, const LimitCurves* limits, StationQuantity q, PlotScene& scene)
{
    if (!limits) return;
    // A convergent nozzle's three limits are one flow.
    const bool one = s.M_max == 1;
    drawLimit(s, limits->choked, q, true, scene);
    if (!one) {
        drawLimit(s, limits->exitShock, q, q != machOf, scene);
        drawLimit(s, limits->design, q, true, scene);
    }
    scene.legend.push_back({SegmentColor::Red, SegmentKind::Line, true, "limits"});
}

// The flow's legend: its curve, and the shock it crosses.
void flowLegend(const FlowState& s, PlotScene& scene)
{
    scene.legend.insert(scene.legend.begin(),
                        {SegmentColor::Red, SegmentKind::Line, false, "flow"});
    if (jumpIsShock(s))
        scene.legend.insert(scene.legend.begin() + 1,
                            {SegmentColor::Red, SegmentKind::Shock, false, "shock"});
}

// The third plot's frame and all but its curve: p/p0, T/T0 and rho/rho0
// lie between 0 and 1 and share it.
void thirdFrame(const FlowState& s, PlotScene& scene)
{
    drawFrame(s, {-0.2, -1.2, 1.2 * s.M_max, 0.2, -1, 0, -1, 0, 0.2, 0, -1}, scene);
    abscissa(s, scene, 0, 11);
    ordinate(scene, 1, 6);
}

} // namespace

std::vector<double> niceTicks(double lo, double hi, int most)
{
    if (!(std::isfinite(lo) && std::isfinite(hi) && hi > lo) || most < 2) return {};
    const double span = hi - lo;
    // The smallest step of 1, 2 or 5 times a power of ten that needs no
    // more than `most` ticks.
    double step = std::pow(10.0, std::floor(std::log10(span / (most - 1))));
    for (int n = 0; n < 4; ++n) {
        const double first = std::ceil(lo / step - 1e-9);
        const double last = std::floor(hi / step + 1e-9);
        if (last - first + 1 <= most) break;
        step *= (n % 3 == 1) ? 2.5 : 2; // 1, 2, 5, 10
    }
    std::vector<double> ticks;
    const double first = std::ceil(lo / step - 1e-9);
    const double last = std::floor(hi / step + 1e-9);
    for (double k = first; k <= last && ticks.size() < 64; ++k) {
        // A whole number of steps, rounded so 0.1 * 3 reads 0.3.
        ticks.push_back(readLeadingNumber(formatGeneral(k * step)));
    }
    return ticks;
}

double geometryHalfHeight(const FlowState& s)
{
    // An exit wider than Amax/At would leave the frame with its waves: the
    // window is then drawn as if Amax/At were the exit's area ratio (with
    // the sign of Amax/At, which turns the picture over). An empty box (0)
    // still gives an empty picture.
    if (s.AA_max == 0 || !(std::fabs(s.AA_max) < s.AAe)) return s.AA_max;
    return std::signbit(s.AA_max) ? -s.AAe : s.AAe;
}

void Grafik_Geo(const FlowState& s, const Marks& marks, PlotScene& scene)
{
    const double A = geometryHalfHeight(s);
    drawFrame(s, {-0.2, -A - 0.1, 1.2 * s.M_max, A + 0.1, -A, A, -A, A, 2, -A, A}, scene);
    for (int i = 2; i <= s.N_tot; ++i) {
        scene.segments.push_back(
            {SegmentColor::Foreground, s.x[i - 1], s.y[i - 1], s.x[i], s.y[i]});
        scene.segments.push_back(
            {SegmentColor::Foreground, s.x[i - 1], -s.y[i - 1], s.x[i], -s.y[i]});
    }
    scene.steadySegments = scene.segments.size();
    bool shocks = false, waves = false;
    for (const Mark& m : marks) {
        const bool red = m.color == MarkColor::Red;
        // A wave from a lip (not a normal shock across the nozzle) is drawn
        // at its true angle.
        scene.segments.push_back({red ? SegmentColor::Red : SegmentColor::Blue, m.x1, m.y1, m.x2,
                                  m.y2, red ? SegmentKind::Shock : SegmentKind::Line,
                                  m.x1 != m.x2});
        (red ? shocks : waves) = true;
    }
    // The abscissa's values at the bottom edge: the axis runs through the
    // middle of the nozzle.
    abscissa(s, scene, scene.bottom, -3);
    if (std::fabs(A) > 0) {
        // Up to the window's top edge less a label's height.
        for (double v : niceTicks(0, 0.9 * std::fabs(A), 4)) {
            if (v == 0) continue;
            scene.labels.push_back(
                {scene.left, -v, 2, 3, tickText(v), LabelAlign::Left, LabelRole::Tick});
        }
    }
    scene.steadyLabels = scene.labels.size();
    if (shocks) scene.legend.push_back({SegmentColor::Red, SegmentKind::Shock, false, "shock"});
    if (waves)
        scene.legend.push_back({SegmentColor::Blue, SegmentKind::Line, false, "expansion wave"});
}

void Grafik_Mach(const FlowState& s, PlotScene& scene, const LimitCurves* limits)
{
    const double Mm = s.M_max;
    drawFrame(s, {-0.2, -1.5 * Mm, 1.2 * Mm, 0.5, -Mm, 0, -Mm, 0, 1, 0, -Mm}, scene);
    scene.steadySegments = scene.segments.size();
    drawCurveWithJump(s, s.M, s.Me, scene);
    abscissa(s, scene, 0, 11);
    ordinate(scene, Mm, 5);
    drawLimits(s, limits, machOf, scene);
    scene.steadyLabels = scene.labels.size();
    flowLegend(s, scene);
}

void Grafik_PiPo(const FlowState& s, PlotScene& scene, const LimitCurves* limits)
{
    drawFrame(s, {-0.2, -1.2, 1.2 * s.M_max, 0.2, -1, 0, -1, 0, 0.2, 0, -1}, scene);
    scene.steadySegments = scene.segments.size();
    drawCurveWithJump(s, s.PiPo, s.PePo_e, scene);
    abscissa(s, scene, 0, 11);
    ordinate(scene, 1, 6);
    drawLimits(s, limits, pressureOf, scene);
    // The back pressure, a short black line at the right edge.
    const double runOut = s.x[s.N_tot + 1];
    scene.references.push_back({SegmentColor::Foreground, runOut + 0.4 * (scene.right - runOut),
                                -s.PePo, scene.right, -s.PePo, SegmentKind::Marker});
    scene.steadyLabels = scene.labels.size();
    scene.labels.push_back(
        {scene.right, -s.PePo, -2, -3, "Pe/Po", LabelAlign::Right, LabelRole::Marker});
    flowLegend(s, scene);
}

void Grafik_Third(const FlowState& s, PlotQuantity quantity, PlotScene& scene,
                  const LimitCurves* limits)
{
    // The thrust plot is built from an engine's figures (Grafik_Thrust);
    // without them the third plot shows p/p0.
    if (quantity == PlotQuantity::Pressure || quantity == PlotQuantity::Thrust) {
        Grafik_PiPo(s, scene, limits);
        return;
    }
    // T/T0 and rho/rho0 lie between 0 and 1 as p/p0 does: the same frame.
    StationArray values{};
    const bool temperature = quantity == PlotQuantity::Temperature;
    for (int i = 1; i <= s.N_tot + 1; ++i) {
        const StationQuantities q = stationQuantities(s, s.M[i], s.PiPo[i]);
        values[static_cast<std::size_t>(i)] = temperature ? q.T_T0 : q.rho_rho0;
    }
    const StationQuantities behind = stationQuantities(s, s.Me, s.PePo_e);
    thirdFrame(s, scene);
    scene.steadySegments = scene.segments.size();
    // The frame's labels stand; the curve goes in before them.
    std::vector<SceneLabel> labels = std::move(scene.labels);
    scene.labels.clear();
    drawCurveWithJump(s, values, temperature ? behind.T_T0 : behind.rho_rho0, scene);
    scene.labels = std::move(labels);
    drawLimits(s, limits, temperature ? temperatureOf : densityOf, scene);
    scene.steadyLabels = scene.labels.size();
    flowLegend(s, scene);
}

} // namespace cdnozzle

namespace cdnozzle {

namespace {

// The smallest of 1, 2 and 5 times a power of ten at or above v; 1 for
// nothing positive.
double roundTop(double v)
{
    if (!(std::isfinite(v) && v > 0)) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        // Read back from its text, so that 2 * 0.1 is 0.2.
        const double top = readLeadingNumber(formatGeneral(m * p));
        if (top >= v) return top;
    }
    return 10 * p;
}

// The values of one axis: at y = -value/top, on the left edge (left) or
// the right one; the top value carries the unit.
void thrustAxis(PlotScene& scene, double top, std::string_view unit, bool left)
{
    for (double v : niceTicks(0, top, 6)) {
        if (v == 0) continue; // the abscissa's own values stand there
        std::string text = tickText(v);
        if (v == top) {
            text += ' ';
            text += unit;
        }
        scene.labels.push_back({left ? scene.left : scene.right, -v / top, left ? 2.0 : -2.0, 3,
                                std::move(text), left ? LabelAlign::Left : LabelAlign::Right,
                                LabelRole::Tick});
    }
}

} // namespace

void Grafik_Thrust(const ThrustPlot& plot, PlotScene& scene)
{
    const Unit& height = defaultUnit(Quantity::Altitude, plot.units);
    const auto& pts = plot.points;
    const bool curve = pts.size() >= 2;
    const double x0 = fromSI(curve ? pts.front().altitude : 0, height);
    const double x1 = fromSI(curve ? pts.back().altitude : kAtmosphereTop, height);
    const double margin = 0.15 * (x1 - x0);
    double Fmax = 0, IspMax = 0;
    for (const ThrustPoint& p : pts) {
        Fmax = std::max(Fmax, p.F);
        IspMax = std::max(IspMax, p.Isp);
    }
    const Unit& force = shownUnit(Quantity::Force, plot.units, Fmax);
    const double Ftop = roundTop(fromSI(Fmax, force)), IspTop = roundTop(IspMax);

    scene = PlotScene{};
    scene.left = x0 - margin;
    scene.right = x1 + margin;
    scene.top = -1.35;
    scene.bottom = 0.2;
    auto& seg = scene.segments;
    const std::vector<double> xs = niceTicks(x0, x1, 6);
    for (const double x : xs) seg.push_back({SegmentColor::Grid, x, 0, x, -1});
    for (const double v : niceTicks(0, Ftop, 6)) {
        if (v != 0) seg.push_back({SegmentColor::Grid, x0, -v / Ftop, x1, -v / Ftop});
    }
    seg.push_back({SegmentColor::Foreground, x0, 0, x1, 0});
    seg.push_back({SegmentColor::Foreground, x0, 0, x0, -1});
    seg.push_back({SegmentColor::Foreground, x1, 0, x1, -1});
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const double a = fromSI(pts[i - 1].altitude, height), b = fromSI(pts[i].altitude, height);
        seg.push_back({SegmentColor::Red, a, -fromSI(pts[i - 1].F, force) / Ftop, b,
                       -fromSI(pts[i].F, force) / Ftop});
    }
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const double a = fromSI(pts[i - 1].altitude, height), b = fromSI(pts[i].altitude, height);
        seg.push_back({SegmentColor::Blue, a, -pts[i - 1].Isp / IspTop, b, -pts[i].Isp / IspTop});
    }
    scene.steadySegments = seg.size();

    for (const double x : xs)
        scene.labels.push_back({x, 0, 0, 11, tickText(x), LabelAlign::Center, LabelRole::Tick});
    thrustAxis(scene, Ftop, force.symbol, true);
    thrustAxis(scene, IspTop, "s", false);
    scene.labels.push_back({scene.right, 0, -3, -3, "altitude (" + std::string(height.symbol) + ")",
                            LabelAlign::Right, LabelRole::Title});
    // The limits, one row each above the base line so that near altitudes
    // keep their names apart; a name leans away from the nearer edge.
    const double middle = (x0 + x1) / 2;
    const std::pair<const std::optional<double>*, const char*> limits[] = {
        {&plot.limits.choking, "choking"},
        {&plot.limits.shockLeaves, "shock at exit"},
        {&plot.limits.design, "design"}};
    int row = 0;
    for (const auto& [altitude, name] : limits) {
        if (!*altitude) continue;
        const double x = fromSI(**altitude, height);
        if (x < x0 || x > x1) continue;
        scene.references.push_back({SegmentColor::Red, x, 0, x, -1});
        const bool left = x <= middle;
        scene.labels.push_back({x, 0, left ? 3.0 : -3.0, -16.0 - 12 * row, name,
                                left ? LabelAlign::Left : LabelAlign::Right, LabelRole::Limit});
        ++row;
    }
    scene.steadyLabels = scene.labels.size();
    if (plot.current) {
        const double x = fromSI(*plot.current, height);
        seg.push_back({SegmentColor::Foreground, x, 0, x, -1, SegmentKind::Marker});
        const bool left = x <= middle;
        scene.labels.push_back({x, 0, left ? 3.0 : -3.0, -4,
                                formatQuantity(*plot.current, Quantity::Altitude, plot.units),
                                left ? LabelAlign::Left : LabelAlign::Right, LabelRole::Marker});
    }
    scene.legend.push_back({SegmentColor::Red, SegmentKind::Line, false, "F"});
    scene.legend.push_back({SegmentColor::Blue, SegmentKind::Line, false, "I_sp"});
    if (!scene.references.empty())
        scene.legend.push_back({SegmentColor::Red, SegmentKind::Line, true, "limits"});
}

} // namespace cdnozzle
