#include "plots/plot_scene.h"

#include "results/flow_figures.h"

namespace cdnozzle {

Rgb rgbOf(SegmentColor color)
{
    switch (color) {
    case SegmentColor::Grid: return {200, 200, 200};
    case SegmentColor::Foreground: return {0, 0, 0};
    case SegmentColor::Red: return {255, 0, 0};
    case SegmentColor::Blue: return {0, 0, 255};
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
    seg.push_back({SegmentColor::Red, s.x[j], -v[j], s.x[j], -behindJump});
    seg.push_back({SegmentColor::Red, s.x[j], -behindJump, s.x[j + 1], -v[j + 1]});
    for (int i = j + 1; i <= s.N_tot; ++i) {
        seg.push_back({SegmentColor::Red, s.x[i], -v[i], s.x[i + 1], -v[i + 1]});
    }
}

} // namespace

void Grafik_Geo(const FlowState& s, const Marks& marks, PlotScene& scene)
{
    const double A = s.AA_max;
    drawFrame(s, {-0.2, -A - 0.1, 1.2 * s.M_max, A + 0.1, -A, A, -A, A, 2, -A, A}, scene);
    for (int i = 2; i <= s.N_tot; ++i) {
        scene.segments.push_back(
            {SegmentColor::Foreground, s.x[i - 1], s.y[i - 1], s.x[i], s.y[i]});
        scene.segments.push_back(
            {SegmentColor::Foreground, s.x[i - 1], -s.y[i - 1], s.x[i], -s.y[i]});
    }
    for (const Mark& m : marks) {
        const SegmentColor color =
            m.color == MarkColor::Red ? SegmentColor::Red : SegmentColor::Blue;
        scene.segments.push_back({color, m.x1, m.y1, m.x2, m.y2});
    }
}

void Grafik_Mach(const FlowState& s, PlotScene& scene)
{
    const double Mm = s.M_max;
    drawFrame(s, {-0.2, -1.5 * Mm, 1.2 * Mm, 0.5, -Mm, 0, -Mm, 0, 1, 0, -Mm}, scene);
    drawCurveWithJump(s, s.M, s.Me, scene);
}

void Grafik_PiPo(const FlowState& s, PlotScene& scene)
{
    drawFrame(s, {-0.2, -1.2, 1.2 * s.M_max, 0.2, -1, 0, -1, 0, 0.2, 0, -1}, scene);
    drawCurveWithJump(s, s.PiPo, s.PePo_e, scene);
}

void Grafik_Third(const FlowState& s, PlotQuantity quantity, PlotScene& scene)
{
    if (quantity == PlotQuantity::Pressure) {
        Grafik_PiPo(s, scene);
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
    drawFrame(s, {-0.2, -1.2, 1.2 * s.M_max, 0.2, -1, 0, -1, 0, 0.2, 0, -1}, scene);
    drawCurveWithJump(s, values, temperature ? behind.T_T0 : behind.rho_rho0, scene);
}

} // namespace cdnozzle
