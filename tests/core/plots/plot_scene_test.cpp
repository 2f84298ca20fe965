// SPDX-License-Identifier: MIT
#include "plots/display_list.h"
#include "plots/palette.h"
#include "plots/plot_scene.h"

#include "model/thrust_curve.h"
#include "plots/unsteady_scene.h"
#include "results/flow_figures.h"
#include "text/number_text.h"

#include "core/test_support.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace cdnozzle {

namespace {

std::vector<Segment> ofColor(const PlotScene& scene, SegmentColor color)
{
    std::vector<Segment> out;
    std::copy_if(scene.segments.begin(), scene.segments.end(), std::back_inserter(out),
                 [&](const Segment& s) { return s.color == color; });
    return out;
}

std::vector<double> gridXs(const PlotScene& scene)
{
    std::vector<double> xs;
    for (const Segment& s : ofColor(scene, SegmentColor::Grid)) {
        if (s.x1 == s.x2) xs.push_back(s.x1);
    }
    return xs;
}

std::vector<double> gridYs(const PlotScene& scene)
{
    std::vector<double> ys;
    for (const Segment& s : ofColor(scene, SegmentColor::Grid)) {
        if (s.y1 == s.y2 && s.x1 != s.x2) ys.push_back(s.y1);
    }
    return ys;
}

void expectWindow(const PlotScene& scene, double l, double t, double r, double b)
{
    EXPECT_EQ(scene.left, l);
    EXPECT_EQ(scene.top, t);
    EXPECT_EQ(scene.right, r);
    EXPECT_EQ(scene.bottom, b);
}

} // namespace

TEST(GeometryScene, StartUpPicture)
{
    const NozzleModel m = test::calculated("2", "1");
    const PlotScene& g = m.geometryScene();
    expectWindow(g, -0.2, -3.1, 2.4, 3.1);
    EXPECT_EQ(gridXs(g), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
    EXPECT_EQ(gridYs(g), (std::vector<double>{-3, -1, 1, 3}));
    for (const Segment& s : ofColor(g, SegmentColor::Grid)) {
        if (s.x1 == s.x2)
            EXPECT_TRUE(s.y1 == -3 && s.y2 == 3);
        else
            EXPECT_TRUE(s.x1 == 0 && s.x2 == 2);
    }
    const auto black = ofColor(g, SegmentColor::Foreground);
    ASSERT_EQ(black.size(), 2u + 2 * 99);
    EXPECT_EQ(black[0], (Segment{SegmentColor::Foreground, 0, 0, 2, 0}));
    EXPECT_EQ(black[1], (Segment{SegmentColor::Foreground, 1, -3, 1, 3}));
    // Walls: upper then mirrored, station by station from x = 0.05 to 2.
    const FlowState& s = m.state();
    EXPECT_EQ(black[2], (Segment{SegmentColor::Foreground, 0.05, s.y[1], 0.1, s.y[2]}));
    EXPECT_EQ(black[3], (Segment{SegmentColor::Foreground, 0.05, -s.y[1], 0.1, -s.y[2]}));
    EXPECT_EQ(black.back().x2, 2);
    EXPECT_NEAR(s.y[1], 5.80, 0.01);
    EXPECT_NEAR(s.y[2], 2.91, 0.01);
    EXPECT_TRUE(ofColor(g, SegmentColor::Red).empty());
}

TEST(GeometryScene, EndsWithTheMarksInDrawingOrder)
{
    for (const char* pepo : {"0.8", "0.5", "0.1"}) {
        const NozzleModel m = test::calculated("2", pepo);
        const auto& segs = m.geometryScene().segments;
        const Marks& marks = m.result().marks;
        ASSERT_GE(segs.size(), static_cast<std::size_t>(marks.size()));
        const std::size_t first = segs.size() - static_cast<std::size_t>(marks.size());
        for (int i = 0; i < marks.size(); ++i) {
            const Segment& seg = segs[first + static_cast<std::size_t>(i)];
            const Mark& mark = marks[i];
            EXPECT_EQ(seg.color,
                      mark.color == MarkColor::Red ? SegmentColor::Red : SegmentColor::Blue);
            EXPECT_EQ(seg.x1, mark.x1);
            EXPECT_EQ(seg.y2, mark.y2);
        }
    }
}

TEST(GeometryScene, AmaxSetsTheVerticalScaleAndGridOnly)
{
    const NozzleModel two = test::calculated("2", "1", "2");
    expectWindow(two.geometryScene(), -0.2, -2.1, 2.4, 2.1);
    EXPECT_EQ(gridYs(two.geometryScene()), (std::vector<double>{-2, 0, 2}));
    // No box gives an empty picture: zero, then a flipped window without grid.
    EXPECT_EQ(gridYs(test::calculated("2", "1", "").geometryScene()), (std::vector<double>{0}));
    const NozzleModel flipped = test::calculated("2", "1", "-3");
    EXPECT_GT(flipped.geometryScene().top, flipped.geometryScene().bottom);
    EXPECT_TRUE(gridYs(flipped.geometryScene()).empty());
}

// An exit wider than Amax/At grows the window to the exit's area ratio, so
// the lips and every wave start inside it; up to there Amax/At alone rules.
TEST(GeometryScene, ExitWiderThanAmaxStaysInTheFrame)
{
    const struct {
        const char *me, *pepo, *amax;
        double half; // the window's half-height less 0.1; 0: the exit's area ratio
    } rows[] = {
        {"2", "0.1", "1.6875000000000002", 1.6875000000000002}, // Ae/At to the last bit
        {"2", "0.1", "1.68", 0},
        {"3", "0.01", "3", 0},
        {"3", "0.3", "3", 0},
        {"3", "0.01", "4.3", 4.3},
        {"3", "0.01", "-3", 0},
        {"4", "0.001", "0.5", 0},
        {"1", "0.3", "0.5", 0},
    };
    for (const auto& r : rows) {
        const NozzleModel m = test::calculated(r.me, r.pepo, r.amax);
        const PlotScene& g = m.geometryScene();
        const double A = (r.amax[0] == '-' ? -1 : 1) * (r.half != 0 ? r.half : m.state().AAe);
        expectWindow(g, -0.2, -A - 0.1, 1.2 * m.state().M_max, A + 0.1);
        const double lo = std::min(g.top, g.bottom), hi = std::max(g.top, g.bottom);
        // The walls behind the throat and the marks (the inlet runs out of
        // any window).
        for (const Segment& s : g.segments) {
            if (s.color == SegmentColor::Grid || s.x1 <= 1) continue;
            for (const double y : {s.y1, s.y2}) {
                EXPECT_TRUE(lo <= y && y <= hi) << r.me << " " << r.amax << ": y " << y;
            }
            EXPECT_TRUE(g.left <= s.x1 && s.x1 <= g.right) << r.me << " " << r.amax;
        }
    }
    // The README's engine: k 1.2, Me_Sup 3, Ae/At 6.74.
    InputTexts texts{"3", "3", "0.00079"};
    NozzleModel engine(texts, 1.2);
    ASSERT_FALSE(engine.calculate(texts));
    EXPECT_NEAR(engine.geometryScene().bottom, 6.735 + 0.1, 1e-3);
}

TEST(GeometryScene, VerticalGridStopsAtTheLastHalfBeforeTheExit)
{
    const NozzleModel m = test::calculated("2.3", "1");
    EXPECT_EQ(gridXs(m.geometryScene()), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
    EXPECT_NEAR(m.geometryScene().right, 2.76, 1e-12);
}

TEST(MachScene, FrameOfTheStartUpNozzle)
{
    const NozzleModel m = test::calculated("2", "1");
    const PlotScene& g = m.machScene();
    expectWindow(g, -0.2, -3, 2.4, 0.5);
    EXPECT_EQ(gridXs(g), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
    EXPECT_EQ(gridYs(g), (std::vector<double>{-2, -1, 0}));
    const auto black = ofColor(g, SegmentColor::Foreground);
    ASSERT_EQ(black.size(), 2u);
    EXPECT_EQ(black[1], (Segment{SegmentColor::Foreground, 1, 0, 1, -2}));
    EXPECT_EQ(gridYs(test::calculated("2.5", "1").machScene()),
              (std::vector<double>{-2.5, -1.5, -0.5}));
}

TEST(MachScene, CurveWithTheDropAtTheShock)
{
    const NozzleModel m = test::calculated("2", "0.8");
    const FlowState& s = m.state();
    const auto red = ofColor(m.machScene(), SegmentColor::Red);
    // 65 segments to station 66, the drop, one to station 67, then 67..101.
    ASSERT_EQ(red.size(), 65u + 1 + 1 + 34);
    EXPECT_EQ(red[64], (Segment{SegmentColor::Red, s.x[65], -s.M[65], s.x[66], -s.M[66]}));
    EXPECT_EQ(red[65],
              (Segment{SegmentColor::Red, 1.575, -s.M[66], 1.575, -s.Me, SegmentKind::Shock}));
    EXPECT_EQ(red[66], (Segment{SegmentColor::Red, 1.575, -s.Me, s.x[67], -s.M[67]}));
    EXPECT_EQ(red.back(), (Segment{SegmentColor::Red, s.x[100], -s.M[100], 2.1, -s.M[101]}));
}

TEST(MachScene, NozzleAtRestLiesOnTheBaseLine)
{
    const auto red = ofColor(test::calculated("2", "1").machScene(), SegmentColor::Red);
    ASSERT_EQ(red.size(), 99u + 2);
    EXPECT_EQ(red.front().x1, 0.05);
    EXPECT_EQ(red.back().x2, 2.1);
    for (const Segment& s : red) EXPECT_TRUE(s.y1 == 0 && s.y2 == 0);
}

TEST(PressureScene, FixedScaleWithSixGridLines)
{
    for (const char* me : {"2", "3.7"}) {
        const NozzleModel m = test::calculated(me, "0.5");
        const PlotScene& g = m.thirdScene();
        EXPECT_EQ(g.top, -1.2);
        EXPECT_EQ(g.bottom, 0.2);
        const auto ys = gridYs(g);
        ASSERT_EQ(ys.size(), 6u);
        EXPECT_EQ(ys.front(), -1);
        EXPECT_NEAR(ys.back(), 0, 1e-15); // the sixth counter value is about -5.6e-17
    }
}

TEST(PressureScene, NozzleAtRestIsALineAtOne)
{
    const auto red = ofColor(test::calculated("2", "1").thirdScene(), SegmentColor::Red);
    for (const Segment& s : red) EXPECT_TRUE(s.y1 == -1 && s.y2 == -1);
    EXPECT_EQ(red.back().x2, 2.1);
}

TEST(PressureScene, JumpAtTheExitStationToTheBackPressure)
{
    const NozzleModel m = test::calculated("2", "0.5");
    const auto red = ofColor(m.thirdScene(), SegmentColor::Red);
    ASSERT_EQ(red.size(), 99u + 2);
    EXPECT_EQ(red[99],
              (Segment{SegmentColor::Red, 2, -m.state().PePo_OS, 2, -0.5, SegmentKind::Shock}));
    EXPECT_EQ(red[100], (Segment{SegmentColor::Red, 2, -0.5, 2.1, -0.5}));
}

// The Mach and third plots name a shock, and draw their jump as one, only
// where the pressure rises across it.
TEST(PressureScene, AShockIsNamedAndDrawnOnlyWhereThePressureRises)
{
    const struct {
        const char* pepo;
        bool shock;
    } rows[] = {{"1", false},  {"0.95", false}, {"0.8", true},
                {"0.5", true}, {"0.3", true},   {"0.1", false}};
    for (const auto& r : rows) {
        const NozzleModel m = test::calculated("2", r.pepo);
        for (const PlotScene* scene : {&m.machScene(), &m.thirdScene()}) {
            const bool named = std::any_of(scene->legend.begin(), scene->legend.end(),
                                           [](const LegendEntry& e) { return e.text == "shock"; });
            const bool drawn =
                std::any_of(scene->segments.begin(), scene->segments.end(),
                            [](const Segment& s) { return s.kind == SegmentKind::Shock; });
            EXPECT_EQ(named, r.shock) << "Pe/Po " << r.pepo;
            EXPECT_EQ(drawn, r.shock) << "Pe/Po " << r.pepo;
        }
    }
}

// T/T0 and rho/rho0 along the nozzle: the curve runs through each
// station's value for the gas calculated, and jumps at i_NS to the value
// behind the jump, whatever the gas.
TEST(ThirdScene, TemperatureAndDensityRunThroughTheStationsOfTheGas)
{
    const struct {
        const char* gas;
        double k;
        const char* pepo;
    } rows[] = {{"air, shock inside", 1.4, "0.8"},
                {"helium, shock inside", 5.0 / 3.0, "0.8"},
                {"k 1.2, oblique shocks", 1.2, "0.3"}};
    for (const auto& r : rows) {
        const InputTexts texts{"2", "3", r.pepo};
        NozzleModel m(texts, r.k);
        ASSERT_FALSE(m.calculate(texts)) << r.gas;
        const FlowState& s = m.state();
        const int j = s.i_NS, e = s.N_tot;
        for (const PlotQuantity q : {PlotQuantity::Temperature, PlotQuantity::Density}) {
            m.setThirdPlot(q);
            const auto value = [&](double M, double PiPo) {
                const StationQuantities v = stationQuantities(s, M, PiPo);
                return q == PlotQuantity::Temperature ? v.T_T0 : v.rho_rho0;
            };
            const std::string where = std::string(r.gas) + ", " + std::string(quantityCaption(q));
            const auto red = ofColor(m.thirdScene(), SegmentColor::Red);
            // Stations 1..j, the jump, then j..N_tot+1.
            ASSERT_EQ(red.size(), static_cast<std::size_t>(e + 1)) << where;
            for (int i = 1; i <= j; ++i)
                EXPECT_EQ(red[i - 1].y1, -value(s.M[i], s.PiPo[i])) << where << ", station " << i;
            EXPECT_EQ(red[j - 1].x1, red[j - 1].x2) << where;
            EXPECT_EQ(red[j - 1].y2, -value(s.Me, s.PePo_e)) << where;
            for (int i = j + 1; i <= e + 1; ++i)
                EXPECT_EQ(red[i - 1].y2, -value(s.M[i], s.PiPo[i])) << where << ", station " << i;
        }
    }
}

// Engines climbing: F and I_sp each on its own axis, the curves through
// the figures at every altitude, the limits where the engine's limit
// altitudes are, the altitude of the moment in black.
TEST(ThrustScene, CurvesThroughTheFiguresAndMarksAtTheLimitAltitudes)
{
    const struct {
        Engine engine;
        const char* me;
        double k;
        std::vector<std::string> limits; // named inside 0 to 86 km
    } rows[] = {
        // The README's: under-expanded from the ground up.
        {{7e6, 3500, 0.03, 0.022}, "3", 1.2, {}},
        {{1e5, 300, 1e-3, 0.028965}, "2", 1.4, {"choking", "shock at exit", "design"}},
    };
    for (const auto& r : rows) {
        const InputTexts design{r.me, "3", "1"};
        const std::vector<ThrustPoint> points =
            thrustCurve(design, r.k, r.engine, climbAltitudes(500));
        ASSERT_EQ(points.size(), 173u);
        NozzleModel m(design, r.k);
        ASSERT_FALSE(m.calculate(design));
        const LimitAltitudes limits = limitAltitudes(r.engine, m.state());
        for (const UnitSystem units : {UnitSystem::SI, UnitSystem::US}) {
            PlotScene g;
            Grafik_Thrust({points, 20000, limits, units}, g);
            const double unit = units == UnitSystem::SI ? 1000 : kFoot;
            const auto red = ofColor(g, SegmentColor::Red), blue = ofColor(g, SegmentColor::Blue);
            ASSERT_EQ(red.size(), points.size() - 1);
            ASSERT_EQ(blue.size(), points.size() - 1);
            // Each curve is its figures over its axis's top: a round value
            // at or above the largest, so the curve peaks between 0.5 and 1.
            const std::size_t last = points.size() - 1;
            double peakF = 0, peakIsp = 0;
            for (std::size_t i = 0; i < red.size(); ++i) {
                const ThrustPoint &a = points[i], &b = points[i + 1];
                EXPECT_NEAR(red[i].x1, a.altitude / unit, 1e-9);
                EXPECT_NEAR(blue[i].x2, b.altitude / unit, 1e-9);
                EXPECT_NEAR(red[i].y2 / red.back().y2, b.F / points[last].F, 1e-13);
                EXPECT_NEAR(blue[i].y1 / blue.back().y2, a.Isp / points[last].Isp, 1e-13);
                peakF = std::max(peakF, -red[i].y2);
                peakIsp = std::max(peakIsp, -blue[i].y2);
            }
            EXPECT_TRUE(peakF > 0.5 && peakF <= 1) << peakF;
            EXPECT_TRUE(peakIsp > 0.5 && peakIsp <= 1) << peakIsp;
            // The limits inside 0 to 86 km stand where the engine's
            // figures put them, named.
            std::vector<double> at;
            std::vector<std::string> names;
            for (const Segment& s : g.references) at.push_back(s.x1 * unit);
            for (const SceneLabel& l : g.labels)
                if (l.role == LabelRole::Limit) names.push_back(l.text);
            EXPECT_EQ(names, r.limits);
            const std::optional<double> expected[] = {limits.choking, limits.shockLeaves,
                                                      limits.design};
            std::size_t n = 0;
            for (const auto& h : expected) {
                if (!h) continue;
                ASSERT_LT(n, at.size());
                EXPECT_NEAR(at[n++], *h, 1e-6);
            }
            EXPECT_EQ(n, at.size());
            // The altitude of the moment: the one line that moves.
            ASSERT_EQ(g.steadySegments + 1, g.segments.size());
            EXPECT_EQ(g.segments.back().kind, SegmentKind::Marker);
            EXPECT_NEAR(g.segments.back().x1 * unit, 20000, 1e-9);
            EXPECT_EQ(g.labels.back().text, units == UnitSystem::SI ? "20 km" : "65617 ft");
            EXPECT_EQ(g.labels.back().role, LabelRole::Marker);
        }
    }
}

} // namespace cdnozzle

namespace cdnozzle {

TEST(Ticks, RoundValuesForTheRangeShown)
{
    const struct {
        double lo, hi;
        int most;
        std::vector<double> ticks;
    } rows[] = {
        {0, 2, 6, {0, 0.5, 1, 1.5, 2}},
        {0, 1, 6, {0, 0.2, 0.4, 0.6, 0.8, 1}},
        {0, 10, 6, {0, 2, 4, 6, 8, 10}},
        {0, 100, 6, {0, 20, 40, 60, 80, 100}},
        {0, 3.7, 5, {0, 1, 2, 3}},
        // The tiny p/p0 of a high design Mach number.
        {0, 1e-6, 5, {0, 5e-7, 1e-6}},
        {2.5e-5, 9.6e-5, 5, {4e-5, 6e-5, 8e-5}},
        {1, 1, 5, {}},
        {0, std::nan(""), 5, {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(niceTicks(r.lo, r.hi, r.most), r.ticks) << r.lo << " " << r.hi;
}

TEST(Ticks, EveryPlotNamesItsAxesTheThroatAndTheExit)
{
    const NozzleModel m = test::calculated("2", "0.8");
    auto texts = [](const PlotScene& s, LabelRole role) {
        std::vector<std::string> out;
        for (const SceneLabel& l : s.labels)
            if (l.role == role) out.push_back(l.text);
        return out;
    };
    for (const PlotScene* s : {&m.geometryScene(), &m.machScene(), &m.thirdScene()}) {
        const auto ticks = texts(*s, LabelRole::Tick);
        for (const char* x : {"0", "0.5", "1", "1.5", "2"})
            EXPECT_NE(std::find(ticks.begin(), ticks.end(), x), ticks.end()) << x;
        EXPECT_EQ(texts(*s, LabelRole::Title), std::vector<std::string>{"x"});
        EXPECT_EQ(texts(*s, LabelRole::Marker).front(), "throat");
    }
    // The limits behind the flow, each with its back pressure at the exit.
    EXPECT_EQ(texts(m.thirdScene(), LabelRole::Limit),
              (std::vector<std::string>{"0.9088", "0.5751", "0.1278"}));
    EXPECT_FALSE(m.thirdScene().references.empty());
    // A convergent nozzle: one limit flow, and the throat is the exit.
    const NozzleModel convergent = test::calculated("1", "0.8");
    EXPECT_EQ(texts(convergent.thirdScene(), LabelRole::Limit), std::vector<std::string>{"0.5283"});
    EXPECT_EQ(texts(convergent.machScene(), LabelRole::Marker),
              std::vector<std::string>{"throat = exit"});
}

// The projector draws what carries meaning at least 3 pixels wide (the
// grid and the dashed limits stay thin), and its texts 1.3 times larger.
TEST(Projector, ThickLinesAndLargerTexts)
{
    const NozzleModel shock = test::calculated("2", "0.8"), waves = test::calculated("2", "0.1");
    for (const PlotScene* scene :
         {&shock.machScene(), &shock.geometryScene(), &waves.geometryScene()}) {
        const DisplayList usual = drawScene(*scene, 377, 185, 1);
        const DisplayList projector = drawScene(*scene, 377, 185, 1, {}, DrawStyle{true});
        int thick = 0;
        for (const DisplayLine& l : projector.lines) {
            if (l.color == paletteColor(PaletteRole::Grid) || l.dashed()) continue;
            EXPECT_GE(l.width, 3);
            ++thick;
        }
        EXPECT_GT(thick, 10);
        ASSERT_EQ(usual.texts.size(), projector.texts.size());
        for (std::size_t i = 0; i < usual.texts.size(); ++i)
            EXPECT_DOUBLE_EQ(projector.texts[i].size, 1.3 * usual.texts[i].size);
    }
}

// A painter keeps a plot's first steady lines and texts while only the
// back pressure moves: they are the same in every regime, they hold the
// limit flows (or the walls) and the values on the axes, never the flow.
TEST(DisplayList, SteadyLinesAndTextsStayWhileTheBackPressureMoves)
{
    for (const char* me : {"1", "1.3", "2", "5"}) {
        for (const PlotQuantity third :
             {PlotQuantity::Pressure, PlotQuantity::Temperature, PlotQuantity::Density}) {
            std::vector<DisplayList> first;
            for (const char* pepo : {"0.999", "0.95", "0.8", "0.5", "0.3", "0.05", "0.001"}) {
                NozzleModel m = test::calculated(me, pepo);
                m.setThirdPlot(third);
                const DisplayList lists[] = {drawScene(m.geometryScene(), 377, 185, 1),
                                             drawScene(m.machScene(), 377, 145, 1),
                                             drawScene(m.thirdScene(), 377, 161, 2)};
                for (std::size_t k = 0; k < 3; ++k) {
                    const DisplayList& l = lists[k];
                    const std::string where =
                        std::string(me) + " " + pepo + " plot " + std::to_string(k);
                    ASSERT_LE(l.steadyLines, l.lines.size()) << where;
                    ASSERT_LE(l.steadyTexts, l.texts.size()) << where;
                    if (first.size() < 3) {
                        first.push_back(l);
                        EXPECT_GT(l.steadyLines, k == 0 ? 20u : 3u * 20) << where;
                        EXPECT_GE(l.steadyTexts, 8u) << where;
                        continue;
                    }
                    const DisplayList& f = first[k];
                    ASSERT_EQ(l.steadyLines, f.steadyLines) << where;
                    ASSERT_EQ(l.steadyTexts, f.steadyTexts) << where;
                    EXPECT_TRUE(std::equal(l.lines.begin(), l.lines.begin() + l.steadyLines,
                                           f.lines.begin()))
                        << where;
                    EXPECT_TRUE(std::equal(l.texts.begin(), l.texts.begin() + l.steadyTexts,
                                           f.texts.begin()))
                        << where;
                }
            }
        }
    }
}
} // namespace cdnozzle

namespace cdnozzle {

// The SVG file says where each text stands on its point, and keeps the
// limits' dashes.
TEST(Svg, TextsStandOnTheirAnchorsAndDashedLinesStayDashed)
{
    const struct {
        Align align;
        const char* anchor; // what the text element carries before its size
    } rows[] = {{Align::Left, "sans-serif\" font-size"},
                {Align::Center, "sans-serif\" text-anchor=\"middle\" font-size"},
                {Align::Right, "sans-serif\" text-anchor=\"end\" font-size"}};
    for (const auto& r : rows) {
        DisplayList list;
        list.width = 100;
        list.height = 50;
        list.texts = {{50, 40, "0.5", 9, false, paletteColor(PaletteRole::Text), r.align}};
        EXPECT_NE(svgText(list).find(r.anchor), std::string::npos) << r.anchor << "\n"
                                                                   << svgText(list);
    }
    DisplayList lines;
    lines.width = 100;
    lines.height = 50;
    lines.lines = {{0, 10, 100, 10, paletteColor(PaletteRole::Limit), 1, Crisp::Horizontal, 6, 4},
                   {0, 20, 100, 20, paletteColor(PaletteRole::Flow), 2, Crisp::Horizontal}};
    const std::string svg = svgText(lines);
    EXPECT_NE(svg.find("<g stroke=\"#aa3377\" stroke-width=\"1\" stroke-dasharray=\"6 4\" "
                       "fill=\"none\">"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<g stroke=\"#0072b2\" stroke-width=\"2\" fill=\"none\">"),
              std::string::npos)
        << svg;
}

// The report's figure: the three plots as each is exported alone, stacked
// a gap apart, and every text inside it, the scenario's on its band under
// the last plot too.
TEST(ExportedFigure, StacksTheExportedPlotsAGapApartWithEveryTextInside)
{
    const NozzleModel m = test::calculated("2", "0.8");
    const std::string stamp = "Me_Sup = 2 · Amax/At = 3 · Pe/Po = 0.8 · air (k = 1.4)";
    const DisplayList parts[] = {exportedPlot(PlotKind::Geometry, m.geometryScene(), ""),
                                 exportedPlot(PlotKind::Mach, m.machScene(), "M"),
                                 exportedPlot(PlotKind::Third, m.thirdScene(), "p/p0", {}, stamp)};
    const DisplayList figure =
        exportedFigure(m.geometryScene(), m.machScene(), m.thirdScene(), "p/p0", {}, stamp);
    const double scale = kExportWidth / plotDesign(PlotKind::Geometry).width;
    const double gap = kFigureGap * scale;
    EXPECT_EQ(figure.width, kExportWidth);
    EXPECT_DOUBLE_EQ(figure.height, parts[0].height + parts[1].height + parts[2].height + 2 * gap);
    std::size_t n = 0;
    double top = 0;
    for (const DisplayList& part : parts) {
        for (DisplayLine l : part.lines) {
            l.y1 += top;
            l.y2 += top;
            ASSERT_LT(n, figure.lines.size());
            EXPECT_EQ(figure.lines[n++], l);
        }
        top += part.height + gap;
    }
    EXPECT_EQ(n, figure.lines.size());
    for (const DisplayList* list : {&parts[0], &parts[1], &parts[2], &figure}) {
        for (const DisplayText& t : list->texts) {
            const TextBox b = textBox(t);
            EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= list->width &&
                        b.bottom <= list->height)
                << t.text << " at " << t.x << ", " << t.y << " in " << list->width << " x "
                << list->height;
        }
    }
    ASSERT_EQ(figure.texts.back().text, stamp);
    EXPECT_GE(textBox(figure.texts.back()).top, figure.height - std::round(kStampBand * scale));
}

// The flow in time's geometry plot: the colour scale beside the nozzle
// reads as its values say (each band in the colour of the Mach number its
// height stands for), and the history strip draws the residual (blue, on
// its log scale) and the exit's mass flow (red, up to 1.2) where the
// legend says.
TEST(UnsteadyScene, ColourScaleAndHistoryStripReadAsLabelled)
{
    const NozzleModel m = test::calculated("2", "0.5");
    const FlowState& s = m.state();
    PlotScene scene = m.geometryScene();
    std::vector<CellValues> cells(3);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        cells[i].x = s.x[1] + i * (s.x[s.N_tot] - s.x[1]) / 2;
        cells[i].M = 0.5 + i;
    }
    fillWithMach(scene, cells, s);
    const double top = machScaleTop(s.M_max);
    const auto labelAt = [&](const std::string& text) {
        for (const SceneLabel& l : scene.labels)
            if (l.role == LabelRole::Tick && l.x > s.M_max && l.text == text) return l.y;
        ADD_FAILURE() << "no scale value " << text;
        return 0.0;
    };
    const double foot = labelAt("0"), head = labelAt(formatShown(top));
    ASSERT_EQ(scene.fills.size(), cells.size() + 32);
    for (std::size_t b = cells.size(); b < scene.fills.size(); ++b) {
        const FillBand& band = scene.fills[b];
        const double M = top * (foot - 0.5 * (band.y1 + band.y2)) / (foot - head);
        EXPECT_EQ(band.color, machColor(M, top)) << "band " << b - cells.size() << ", M " << M;
    }

    scene = m.geometryScene();
    const std::size_t before = scene.segments.size();
    // A residual of 1e-4 stands a quarter up the strip, a mass flow of 0.9
    // three quarters.
    std::vector<HistoryPoint> history(3);
    for (std::size_t i = 0; i < history.size(); ++i) {
        history[i].t = 0.5 * i;
        history[i].residual = 1e-4;
        history[i].mdotExit = 0.9;
    }
    drawHistoryStrip(scene, history, s);
    ASSERT_GT(scene.segments.size(), before + 4);
    const Segment& roof = scene.segments[before];
    const Segment& floor = scene.segments[before + 2];
    EXPECT_EQ(roof.color, SegmentColor::Grid);
    const double height = floor.y1 - roof.y1;
    ASSERT_GT(height, 0);
    std::map<SegmentColor, double> share;
    for (std::size_t i = before + 4; i < scene.segments.size(); ++i) {
        const Segment& c = scene.segments[i];
        EXPECT_GE(c.x1, 0.3 * s.M_max);
        EXPECT_LE(c.x2, 0.95 * s.M_max + 1e-12);
        for (const double y : {c.y1, c.y2}) {
            const double up = (floor.y1 - y) / height;
            EXPECT_NEAR(share.emplace(c.color, up).first->second, up, 1e-12) << "off its level";
        }
    }
    EXPECT_NEAR(share.at(SegmentColor::Blue), 0.25, 1e-12);
    EXPECT_NEAR(share.at(SegmentColor::Red), 0.75, 1e-12);
    ASSERT_EQ(scene.legend.size(), 2u);
    for (const LegendEntry& e : scene.legend)
        EXPECT_EQ(e.text.starts_with("residual"), e.color == SegmentColor::Blue) << e.text;
}

} // namespace cdnozzle
