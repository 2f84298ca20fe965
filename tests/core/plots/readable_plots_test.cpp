// SPDX-License-Identifier: MIT
// The plots read from the back row: colours every eye tells from the
// background, cues besides colour, texts that never cover one another,
// wave angles drawn as labelled.
#include "plots/display_list.h"
#include "plots/palette.h"
#include "plots/plot_scene.h"

#include "panel/window_logic.h"
#include "text/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace cdnozzle {

namespace {

// A scenario of the walk: a gas, a design, and its regimes' back pressures.
struct Case {
    const char* name;
    const char* me;
    const char* amax;
    double k;
};
const Case kCases[] = {{"air Me 2", "2", "3", 1.4},
                       {"air Me 3", "3", "3", 1.4},
                       // The README's engine: k 1.2, Me_Sup 3 (Ae/At about 6.74).
                       {"engine k 1.2 Me 3", "3", "3", 1.2}};

WindowLogic calculatedAt(const Case& c, double pepo)
{
    WindowLogic logic({c.me, c.amax, "0.5"});
    if (c.k != 1.4) logic.handle(Event(EventKind::OtherGas, formatRoundTrip(c.k)));
    logic.handle(Event(EventKind::EditPePo, formatRoundTrip(pepo)));
    logic.handle(Event(EventKind::Calculate));
    return logic;
}

// Every regime: subsonic, choked, a shock inside at three places, the
// exit-shock band, oblique shocks, design, under-expanded.
std::vector<std::pair<std::string, double>> regimes(const Case& c)
{
    const WindowLogic at = calculatedAt(c, 0.5);
    const FlowState& s = at.model().state();
    const double sub = s.PePo_sub, ns = s.PePo_NS, os = s.PePo_OS;
    return {{"subsonic", sub + 0.6 * (1 - sub)},
            {"choked", sub},
            {"shock near the throat", ns + 0.9 * (sub - ns)},
            {"shock midway", ns + 0.5 * (sub - ns)},
            {"shock near the exit", ns + 0.05 * (sub - ns)},
            {"exit-shock band", ns},
            {"oblique shocks, strong", os + 0.8 * (ns - os)},
            {"oblique shocks, weak", os + 0.1 * (ns - os)},
            {"design", os},
            {"under-expanded", 0.4 * os},
            {"far under-expanded", 0.001}};
}

// The plots' sizes on the screens of a lecture: each plot's width and
// heights, the scale (the window's zoom, the page's text scale) and the
// projector view's layout (-1 the usual view, 0 the three plots, 1 to 3 one
// plot alone).
struct Screen {
    const char* name;
    double width, heights[3], scale;
    int projector;
};
const Screen kScreens[] = {
    {"designed", 377, {185, 145, 161}, 1, -1},
    {"designed, projector", 377, {185, 145, 161}, 1, 0},
    {"1366 x 768", 760, {250, 196, 218}, 1.25, -1},
    {"1366 x 768 zoom 2", 760, {250, 196, 218}, 2, -1},
    {"1366 x 768, projector", 1300, {200, 160, 180}, 1, 0},
    {"1920 x 1080", 1100, {360, 282, 313}, 1.5, -1},
    {"1920 x 1080 zoom 2.5", 1100, {360, 282, 313}, 2.5, -1},
    {"1920 x 1080, projector", 1880, {330, 260, 290}, 1, 0},
    {"1920 x 1080, projector, one plot", 1880, {900, 900, 900}, 1, 1},
    {"1366 x 768, projector, one plot", 1330, {620, 620, 620}, 1, 1},
};

std::string describe(const DisplayText& t)
{
    const TextBox b = textBox(t);
    return "\"" + t.text + "\" [" + formatFixed(b.left, 1) + ", " + formatFixed(b.top, 1) + ", " +
           formatFixed(b.right, 1) + ", " + formatFixed(b.bottom, 1) + "]";
}

} // namespace

TEST(Palette, EveryLineAndTextStandsOutForEveryEye)
{
    // The table for the notes (ctest -R Palette -V prints it).
    std::cout << contrastTable();
    for (const PaletteRole role : kPaletteRoles) {
        for (const Vision v : kVisions) {
            EXPECT_GE(contrastRatio(paletteColor(role), kPlotBackground, v),
                      paletteRoleIsText(role) ? 4.5 : 3.0)
                << paletteRoleName(role) << ", " << visionName(v);
        }
    }
    // Published values: black on white 21 : 1, white on white 1 : 1.
    EXPECT_NEAR(contrastRatio({0, 0, 0}, {255, 255, 255}), 21, 1e-12);
    EXPECT_NEAR(contrastRatio({0, 0, 0}, {255, 255, 255}, Vision::Tritanopia), 21, 1e-3);
    // Pure red turns dark for a protanope and stays bright for a tritanope.
    EXPECT_LT(relativeLuminance({255, 0, 0}, Vision::Protanopia),
              0.6 * relativeLuminance({255, 0, 0}));
    EXPECT_GT(relativeLuminance({255, 0, 0}, Vision::Tritanopia), 0.2);
    // The flow and the shock differ in colour for every eye, and so do the
    // thrust plot's F (the flow's colour) and I_sp (the waves').
    for (const PaletteRole other : {PaletteRole::Shock, PaletteRole::Wave})
        for (const Vision v : kVisions)
            EXPECT_GT(contrastRatio(paletteColor(PaletteRole::Flow), paletteColor(other), v) +
                          std::fabs(relativeLuminance(paletteColor(PaletteRole::Flow)) -
                                    relativeLuminance(paletteColor(other))),
                      1.0)
                << paletteRoleName(other) << ", " << visionName(v);
}

// Every line and text of every plot takes its colour from the palette, and
// each meaning has a second cue: the limits dashed, a shock heavier than
// the flow, in the usual view and the projector's.
TEST(Palette, DisplayListsUseItWithCuesBesidesColour)
{
    auto is = [](Rgb c, PaletteRole role) { return c == paletteColor(role); };
    const Case air = kCases[0];
    for (const double pepo : {0.8, 0.3, 0.1}) {
        const WindowLogic logic = calculatedAt(air, pepo);
        for (const bool projector : {false, true}) {
            for (const PlotKind plot : {PlotKind::Geometry, PlotKind::Mach, PlotKind::Third}) {
                const NozzleModel& m = logic.model();
                const PlotScene& scene = plot == PlotKind::Geometry ? m.geometryScene()
                                         : plot == PlotKind::Mach   ? m.machScene()
                                                                    : m.thirdScene();
                const DisplayList list =
                    drawScene(scene, 377, 185, 1, "M", DrawStyle{.projector = projector});
                double flow = 0, shock = 0;
                int limits = 0, shocks = 0;
                // The limit curves' dashes run on along each curve: of the
                // length from one piece to the next, the strokes take about
                // kDashOn / (kDashOn + kDashOff), not all of it.
                double stroked = 0, spanned = 0;
                const DisplayLine* previous = nullptr;
                for (const DisplayLine& l : list.lines) {
                    if (is(l.color, PaletteRole::Limit) && l.crisp == Crisp::No) {
                        const double length = std::hypot(l.x2 - l.x1, l.y2 - l.y1);
                        const double gap =
                            previous ? std::hypot(l.x1 - previous->x2, l.y1 - previous->y2) : 0;
                        stroked += length;
                        spanned += length + (gap < 2 * l.dashOff ? gap : 0);
                        previous = &l;
                    }
                    bool known = false;
                    for (const PaletteRole role : kPaletteRoles) known = known || is(l.color, role);
                    EXPECT_TRUE(known) << int(l.color.r) << "," << int(l.color.g);
                    EXPECT_EQ(l.dashed(), is(l.color, PaletteRole::Limit));
                    if (is(l.color, PaletteRole::Flow)) flow = std::max(flow, l.width);
                    if (is(l.color, PaletteRole::Shock)) {
                        shock = std::max(shock, l.width);
                        ++shocks;
                    }
                    limits += is(l.color, PaletteRole::Limit);
                }
                // Each legend's sample (its last lines) is drawn as what it
                // names is drawn: in its colour, at its width.
                const std::size_t samples = scene.legend.size();
                ASSERT_LT(samples, list.lines.size());
                const auto body = list.lines.end() - static_cast<std::ptrdiff_t>(samples);
                for (auto sample = body; sample != list.lines.end(); ++sample) {
                    EXPECT_TRUE(std::any_of(list.lines.begin(), body,
                                            [&](const DisplayLine& l) {
                                                return l.color == sample->color &&
                                                       l.width == sample->width;
                                            }))
                        << "legend " << pepo << " plot " << int(plot) << ", sample "
                        << sample - body << " in colour " << hexColor(sample->color);
                }
                for (const DisplayText& t : list.texts) {
                    EXPECT_TRUE(is(t.color, PaletteRole::Text) || is(t.color, PaletteRole::Limit) ||
                                is(t.color, PaletteRole::Caption))
                        << t.text;
                }
                if (plot != PlotKind::Geometry) {
                    EXPECT_GT(limits, 100) << pepo;
                    EXPECT_NEAR(stroked / spanned, kDashOn / (kDashOn + kDashOff), 0.05) << pepo;
                    EXPECT_GT(flow, 0);
                }
                if (shocks > 0 && flow > 0) {
                    EXPECT_GE(shock, flow + 1) << pepo;
                }
                // A shock at 0.8 (inside) and 0.3 (oblique, at the exit).
                if (pepo != 0.1) {
                    EXPECT_GT(shocks, 0) << pepo << " plot " << int(plot);
                }
            }
        }
    }
}

// No two texts (values on the axes, names, limit labels, the legend, the
// banner) cover one another, and every one lies inside its plot, in every
// regime, for every third plot, on every screen of a lecture.
TEST(DisplayList, NoTwoTextsOverlapAndAllStayInsideInEveryRegimeAndSize)
{
    int lists = 0;
    for (const Case& c : kCases) {
        const bool engine = c.k != 1.4;
        for (const auto& [regime, pepo] : regimes(c)) {
            WindowLogic logic = calculatedAt(c, pepo);
            if (engine) {
                // The README's engine, its thrust over altitude for the third plot.
                for (const auto& [field, text] :
                     {std::pair{EngineFieldKind::ChamberPressure, "7 MPa"},
                      {EngineFieldKind::ChamberTemperature, "3500 K"},
                      {EngineFieldKind::Throat, "300 cm2"},
                      {EngineFieldKind::MolarMass, "22"}}) {
                    Event e(EventKind::EditEngine, text);
                    e.number = static_cast<double>(field);
                    logic.handle(e);
                }
            }
            for (const PlotQuantity third : {PlotQuantity::Pressure, PlotQuantity::Temperature,
                                             PlotQuantity::Density, PlotQuantity::Thrust}) {
                if (third == PlotQuantity::Thrust && !engine) continue;
                logic.handle(Event(EventKind::ThirdPlot, static_cast<double>(third)));
                ASSERT_EQ(logic.thirdPlot(), third);
                const NozzleModel& m = logic.model();
                // The flow in time's plots too (its colour scale, its strip).
                for (const bool unsteady : {false, true}) {
                    if (unsteady && third != PlotQuantity::Pressure) continue;
                    logic.handle(Event(EventKind::Mode, unsteady ? 1.0 : 0.0));
                    if (unsteady) logic.handle(Event(EventKind::TimeStep));
                    for (const Screen& screen : kScreens) {
                        // The projector view's styles as the logic gives them.
                        logic.handle(
                            Event(EventKind::Projector, screen.projector >= 0 ? 1.0 : 0.0));
                        logic.handle(
                            Event(EventKind::ProjectorPlot, std::max(screen.projector, 0) * 1.0));
                        for (const bool banner : {false, true}) {
                            for (int k = 0; k < 3; ++k) {
                                const PlotKind plot = static_cast<PlotKind>(k);
                                if (banner && plot != PlotKind::Geometry) continue;
                                if (third != PlotQuantity::Pressure && plot != PlotKind::Third)
                                    continue;
                                if (screen.projector > 0)
                                    logic.handle(Event(EventKind::ProjectorPlot, k + 1.0));
                                DrawStyle style = logic.drawStyle(plot);
                                style.banner = banner;
                                const PlotScene& scene = unsteady ? logic.scene(plot)
                                                         : k == 0 ? m.geometryScene()
                                                         : k == 1 ? m.machScene()
                                                                  : m.thirdScene();
                                const double w = screen.width, h = screen.heights[k];
                                const DisplayList list =
                                    drawScene(scene, w, h, screen.scale,
                                              k == 0   ? ""
                                              : k == 1 ? "M"
                                                       : quantityCaption(third),
                                              style);
                                ++lists;
                                const std::string where =
                                    std::string(c.name) + (unsteady ? ", in time, " : ", ") +
                                    regime + " (Pe/Po " + formatShown(pepo) + "), " + screen.name +
                                    ", plot " + std::to_string(k) + (banner ? ", banner" : "");
                                std::vector<TextBox> boxes;
                                if (banner) boxes.push_back({0, 0, w, kBannerBand * screen.scale});
                                for (std::size_t i = 0; i < list.texts.size(); ++i) {
                                    const DisplayText& t = list.texts[i];
                                    const TextBox b = textBox(t);
                                    EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= w &&
                                                b.bottom <= h)
                                        << where << ": outside " << describe(t);
                                    for (std::size_t j = 0; j < i; ++j) {
                                        EXPECT_FALSE(textBox(list.texts[j]).intersects(b))
                                            << where << ": " << describe(list.texts[j]) << " and "
                                            << describe(t);
                                    }
                                    if (banner) {
                                        EXPECT_FALSE(boxes[0].intersects(b))
                                            << where << ": the banner covers " << describe(t);
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(lists, 1000);
}

// A wave from a lip is drawn at the angle the explanation gives it,
// however the plot stretches x: the oblique shock's angle, the Mach angles
// of the exit and of the jet.
TEST(DisplayList, ExitWavesAreDrawnAtTheirTrueAngles)
{
    for (const Case& c : kCases) {
        const WindowLogic at = calculatedAt(c, 0.5);
        const FlowState& design = at.model().state();
        const double os = design.PePo_OS, ns = design.PePo_NS;
        for (const double pepo : {os + 0.2 * (ns - os), os + 0.9 * (ns - os), 0.4 * os}) {
            const WindowLogic logic = calculatedAt(c, pepo);
            const NozzleModel& m = logic.model();
            const ExitWaves& waves = m.result().waves;
            std::vector<double> labelled;
            if (waves.shockAngle > 0)
                labelled.push_back(waves.shockAngle);
            else {
                labelled.push_back(std::asin(1 / m.state().M_max));
                labelled.push_back(std::asin(1 / m.state().Me));
            }
            for (const auto& [w, h] : {std::pair{377.0, 185.0}, {1200.0, 300.0}, {600.0, 600.0}}) {
                const DisplayList list = drawScene(m.geometryScene(), w, h, 1);
                std::vector<double> drawn;
                for (const DisplayLine& l : list.lines) {
                    if (l.crisp != Crisp::No || l.color == paletteColor(PaletteRole::Foreground))
                        continue;
                    drawn.push_back(std::atan2(std::fabs(l.y2 - l.y1), std::fabs(l.x2 - l.x1)));
                }
                ASSERT_EQ(drawn.size(), 2 * labelled.size()) << c.name << " " << pepo;
                for (std::size_t i = 0; i < drawn.size(); ++i) {
                    EXPECT_NEAR(drawn[i] * 180 / std::numbers::pi,
                                labelled[i / 2] * 180 / std::numbers::pi, 0.5)
                        << c.name << ", Pe/Po " << pepo << ", " << w << " x " << h;
                }
            }
        }
    }
}

} // namespace cdnozzle
