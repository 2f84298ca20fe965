// SPDX-License-Identifier: MIT
// The flow in time through the window's events: the mode, its play and
// steps, the back pressure the bars give it, what the plots and the
// readouts show, and where it settles.
#include "panel/window_logic.h"

#include "plots/palette.h"
#include "plots/unsteady_scene.h"
#include "results/station_data.h"
#include "text/number_text.h"
#include "unsteady/exact_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace cdnozzle {

namespace {

Event timed(EventKind kind, double now)
{
    Event e(kind);
    e.time = now;
    return e;
}

// The number after `key` in a text ("x = 1.62" in the story).
double numberAfter(const std::string& text, const std::string& key)
{
    const std::size_t at = text.find(key);
    return at == std::string::npos ? -1 : readLeadingNumber(text.substr(at + key.size()));
}

// The bars' back pressure typed and calculated, the flow in time played
// fast from rest against it.
void playFastInTimeAgainst(WindowLogic& logic, const std::string& pepo)
{
    logic.handle(Event(EventKind::EditPePo, pepo));
    logic.handle(Event(EventKind::Calculate));
    logic.handle(Event(EventKind::Mode, 1.0));
    logic.handle(Event(EventKind::Faster));
    logic.handle(timed(EventKind::Play, 0));
}

} // namespace

TEST(UnsteadyMode, SwitchStepPlayBarsAndRestartThroughEvents)
{
    WindowLogic logic;
    logic.handle(Event(EventKind::Start));
    logic.handle(Event(EventKind::Mode, 1.0));
    const UnsteadyFlow* flow = logic.unsteadyFlow();
    ASSERT_NE(flow, nullptr);
    ViewState v = logic.view();
    EXPECT_TRUE(v.unsteady);
    const auto settings = logic.settings();
    EXPECT_NE(std::find(settings.begin(), settings.end(), Setting{"mode", "unsteady"}),
              settings.end());
    // At rest against the reservoir's own pressure: nothing flows.
    EXPECT_EQ(v.status, "t = 0 L/a0 · 0 steps · residual 0 · ṁ_exit/ṁ* = 0");

    logic.handle(timed(EventKind::TimeStep, 0));
    EXPECT_EQ(flow->steps(), kTimeStepsPerFrame);
    EXPECT_FALSE(logic.playing());
    // A bar gives the running flow its back pressure; the play runs on.
    logic.handle(Event(EventKind::MoveFine, 300.0));
    EXPECT_EQ(flow->backPressure(), logic.model().state().PePo);
    logic.handle(timed(EventKind::Play, 1.0));
    for (int f = 1; f <= 6; ++f) logic.handle(timed(EventKind::Tick, 1.0 + f / 60.0));
    EXPECT_EQ(flow->steps(), kTimeStepsPerFrame + 60); // 600 steps a second
    logic.handle(Event(EventKind::MoveFine, 600.0));
    EXPECT_TRUE(logic.playing());
    EXPECT_EQ(flow->backPressure(), logic.model().state().PePo);
    EXPECT_NEAR(flow->backPressure(), 0.4, 0.0015);
    // A stalled or slow front end: a tick takes at most a frame's steps.
    logic.handle(timed(EventKind::Tick, 9.0));
    EXPECT_EQ(flow->steps(), kTimeStepsPerFrame + 70);
    logic.handle(timed(EventKind::Tick, 9.1));
    EXPECT_EQ(flow->steps(), kTimeStepsPerFrame + 80);
    logic.handle(timed(EventKind::Tick, 9.1 + 1 / 60.0));
    EXPECT_EQ(flow->steps(), kTimeStepsPerFrame + 90);
    // Faster: 40 steps a frame; slowest: 2; each from the moment it is chosen.
    long frameSteps = flow->steps();
    double now = 9.1 + 1 / 60.0;
    for (const auto& [kind, perFrame] : {std::pair{EventKind::Faster, 40L},
                                         {EventKind::Slower, 10L},
                                         {EventKind::Slower, 2L},
                                         {EventKind::Faster, 10L}}) {
        logic.handle(timed(kind, now));
        now += 1 / 60.0;
        logic.handle(timed(EventKind::Tick, now));
        EXPECT_EQ(flow->steps() - frameSteps, perFrame) << "after " << eventFormatOf(kind).name;
        frameSteps = flow->steps();
    }
    // The address carries the mode: opened elsewhere, the same back pressure
    // from rest; an address without it opens the steady flow.
    const std::string address = logic.view().address;
    EXPECT_TRUE(address.ends_with("&mode=unsteady")) << address;
    WindowLogic shared;
    shared.handle(Event(EventKind::OpenAddress, address));
    ASSERT_NE(shared.unsteadyFlow(), nullptr);
    EXPECT_EQ(shared.unsteadyFlow()->steps(), 0);
    EXPECT_EQ(shared.unsteadyFlow()->backPressure(), flow->backPressure());
    shared.handle(Event(EventKind::OpenAddress, address.substr(0, address.find("&mode="))));
    EXPECT_FALSE(shared.unsteady());
    EXPECT_EQ(shared.unsteadyFlow(), nullptr);

    // The plots: the cells' Mach numbers over the frame, the nozzle filled
    // by them, the scale beside it.
    v = logic.view();
    const std::vector<CellValues> cells = flow->cells();
    const PlotScene& mach = logic.scene(PlotKind::Mach);
    ASSERT_EQ(mach.segments.size(), mach.steadySegments + cells.size() - 1);
    EXPECT_EQ(mach.segments.back().y2, -cells.back().M);
    EXPECT_EQ(mach.segments.back().x2, cells.back().x);
    EXPECT_FALSE(mach.references.empty()); // the steady flow, faintly
    const PlotScene& geometry = logic.scene(PlotKind::Geometry);
    EXPECT_EQ(v.unsteadyMassFlow, formatFixed(cells.back().mdot, 3)); // at the exit
    ASSERT_GT(geometry.fills.size(), cells.size());
    EXPECT_EQ(geometry.fills[cells.size() - 1].color,
              machColor(cells.back().M, machScaleTop(logic.model().state().M_max)));
    EXPECT_EQ(geometry.fills.front().y2, 0.5 * cells.front().area);
    // The history strip under it: each of its two curves one run of its
    // colour, which a painter strokes at once.
    int colourChanges = 0;
    for (std::size_t i = 1; i < geometry.segments.size(); ++i)
        colourChanges += geometry.segments[i].color != geometry.segments[i - 1].color;
    EXPECT_LE(colourChanges, 4);
    // Both end at the latest time, the mass flow's at its own height.
    const auto lastOf = [&](SegmentColor c) {
        return *std::find_if(geometry.segments.rbegin(), geometry.segments.rend(),
                             [&](const Segment& s) { return s.color == c; });
    };
    EXPECT_EQ(lastOf(SegmentColor::Blue).x2, lastOf(SegmentColor::Red).x2);
    EXPECT_NE(lastOf(SegmentColor::Blue).y2, lastOf(SegmentColor::Red).y2);
    logic.handle(Event(EventKind::ThirdPlot, static_cast<double>(PlotQuantity::Temperature)));
    EXPECT_EQ(logic.scene(PlotKind::Third).segments.back().y2, -cells.back().T);
    // Under the cursor, the last cell's values; with an engine, time in ms.
    Event hover(EventKind::Hover, 377.0);
    hover.plot = 1;
    hover.width = 377;
    logic.handle(hover);
    EXPECT_NE(logic.statusText().find(", cell 400 of 400 at t = "), std::string::npos)
        << logic.statusText();
    EXPECT_NE(logic.statusText().find("M = " + formatRatio(cells.back().M)), std::string::npos);
    logic.handle(Event(EventKind::Leave));
    for (const auto& [field, text] : {std::pair{EngineFieldKind::ChamberPressure, "7 MPa"},
                                      {EngineFieldKind::ChamberTemperature, "3500 K"},
                                      {EngineFieldKind::Throat, "300 cm2"}}) {
        Event e(EventKind::EditEngine, text);
        e.number = static_cast<double>(field);
        logic.handle(e);
    }
    // The nozzle 1.95 throat diameters (19.5 cm) long, a0 = sqrt(1.4 · 287.0 J/(kg K)
    // · 3500 K) = 1186 m/s: L/a0 = 0.3214 ms.
    EXPECT_NEAR(numberAfter(logic.view().unsteadyTime, " L/a0 = "), 0.3214 * flow->time(),
                0.006 * flow->time())
        << logic.view().unsteadyTime;

    // Back to rest, the back pressure kept; then the steady plots again.
    logic.handle(timed(EventKind::TimeRestart, 9.2));
    EXPECT_EQ(logic.unsteadyFlow()->steps(), 0);
    EXPECT_NEAR(logic.unsteadyFlow()->backPressure(), 0.4, 0.0015);
    logic.handle(Event(EventKind::Mode, 0.0));
    EXPECT_EQ(logic.unsteadyFlow(), nullptr);
    v = logic.view();
    EXPECT_FALSE(v.unsteady);
    EXPECT_EQ(&logic.scene(PlotKind::Mach), &logic.model().machScene());
    EXPECT_EQ(v.address.find("mode="), std::string::npos) << v.address;
    logic.handle(timed(EventKind::TimeStep, 10));
    EXPECT_EQ(logic.unsteadyFlow(), nullptr);
    Event csv(EventKind::Export, "csv");
    csv.plot = static_cast<int>(PlotKind::Third);
    logic.handle(csv);
    EXPECT_EQ(logic.lastExport().text, stationCsv(logic.model().state()));
}

// From rest to the steady flow the bars ask for, for several gases and
// nozzles: the story's shock stands where the exact steady shock of that
// gas, nozzle and back pressure does.
TEST(UnsteadyMode, SettlesWhereTheExactSteadyFlowOfTheBarsStands)
{
    struct Row {
        const char* name;
        const char* gas; // k as typed into "Other..."
        const char* me;
        double shockAt; // where along the divergent part (0 throat, 1 exit); <0 subsonic
    };
    const Row rows[] = {{"air, Me 2, shock midway", "1.4", "2", 0.5},
                        {"helium, Me 2, shock near the exit", "1.6666666666666667", "2", 0.8},
                        {"k 1.2, Me 1.5, subsonic", "1.2", "1.5", -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WindowLogic logic;
        logic.handle(Event(EventKind::OtherGas, row.gas));
        logic.handle(Event(EventKind::EditMeSup, row.me));
        const FlowState& s = logic.model().state();
        const Gas gas = gasOf(s.k);
        const Contour contour = nozzleContour(gas, s.M_max);
        const double pb =
            row.shockAt < 0 ? 0.5 * (1 + steadyFlow(gas, contour, 0.5).subsonicLimit)
                            : backPressureForShockAt(gas, contour, 1 + row.shockAt * (s.M_max - 1));
        playFastInTimeAgainst(logic, formatRoundTrip(pb));
        const UnsteadyFlow* flow = logic.unsteadyFlow();
        ASSERT_NE(flow, nullptr);
        // A tick in, the CSV export: the cells the report writes for the
        // same inputs and steps.
        logic.handle(timed(EventKind::Tick, 1));
        Event csv(EventKind::Export, "csv");
        csv.plot = static_cast<int>(PlotKind::Third);
        logic.handle(csv);
        UnsteadyFlow report(gas, contour, UnsteadySettings{}, pb, Start::Rest);
        report.run(flow->steps());
        EXPECT_EQ(logic.lastExport().text, cellsCsv(report));
        // Its columns hold what they are named: T/T0 = (p/p0)/(rho/rho0), M = (u/a0)/sqrt(T/T0).
        const std::string& csvText = logic.lastExport().text;
        std::istringstream lastRow(csvText.substr(csvText.rfind('\n', csvText.size() - 2) + 1));
        std::string field;
        std::vector<double> last; // x, A/At, rho/rho0, u/a0, p/p0, T/T0, M, mdot/mdot*
        while (std::getline(lastRow, field, ',')) last.push_back(readLeadingNumber(field));
        ASSERT_EQ(last.size(), 8u);
        EXPECT_NEAR(last[5], last[4] / last[2], 1e-9);
        EXPECT_NEAR(last[6], last[3] / std::sqrt(last[5]), 1e-9);
        EXPECT_TRUE(logic.lastExport().name.ends_with("-cells.csv")) << logic.lastExport().name;
        for (int i = 61; i < 10000 && !flow->steady(); ++i)
            logic.handle(timed(EventKind::Tick, i / 60.0));
        ASSERT_TRUE(flow->steady());
        const std::string story = logic.view().explanation;
        const SteadyFlow exact = steadyFlow(gas, contour, pb);
        if (row.shockAt < 0) {
            EXPECT_NE(story.find("The throat has not choked."), std::string::npos) << story;
            EXPECT_NE(story.find("The flow is steady after t = "), std::string::npos) << story;
            EXPECT_NEAR(flow->cells().back().mdot, exact.mdot, 2e-3);
        } else {
            EXPECT_GT(numberAfter(story, "hroat chokes at t = "), 0) << story;
            EXPECT_NEAR(numberAfter(story, "The shock stands at x = "), exact.shockX,
                        3 * flow->dx())
                << story;
        }
        EXPECT_EQ(logic.view().unsteadyEvents.back().rfind("Steady at t = ", 0), 0u);
    }
}

// A back pressure changed while time runs: the story keeps the one the
// nozzle opened against and tells the change. Raised over a supersonic
// outflow, the flow stays supersonic, and the story says why it differs
// from the steady flow calculated for the new back pressure.
TEST(UnsteadyMode, TheStoryTellsABackPressureChangedWhileTimeRan)
{
    struct Row {
        const char *from, *to;
        bool staysSupersonic;
    };
    for (const Row& row : {Row{"0.3", "0.7", true}, Row{"0.8", "0.6", false}}) {
        SCOPED_TRACE(std::string(row.from) + " to " + row.to);
        WindowLogic logic;
        logic.handle(Event(EventKind::Start));
        playFastInTimeAgainst(logic, row.from);
        const UnsteadyFlow* flow = logic.unsteadyFlow();
        ASSERT_NE(flow, nullptr);
        int frame = 1;
        const auto settle = [&] {
            for (const int end = frame + 10000; frame < end && !flow->steady(); ++frame)
                logic.handle(timed(EventKind::Tick, frame / 60.0));
            ASSERT_TRUE(flow->steady());
        };
        settle();
        EXPECT_EQ(logic.view().explanation.find("changed"), std::string::npos);
        const double changedAt = flow->time();
        logic.handle(Event(EventKind::EditPePo, row.to));
        logic.handle(Event(EventKind::Calculate));
        if (!logic.playing()) logic.handle(timed(EventKind::Play, frame / 60.0));
        settle();
        const std::string story = logic.view().explanation;
        EXPECT_NE(story.find(std::string("opened from rest at t = 0, against Pe/Po = ") + row.from),
                  std::string::npos)
            << story;
        EXPECT_NEAR(numberAfter(story, "At t = "), changedAt, 0.006) << story;
        EXPECT_NE(story.find(std::string("the back pressure changed to Pe/Po = ") + row.to),
                  std::string::npos)
            << story;
        const SteadyFlow exact =
            steadyFlow(flow->gas(), flow->contour(), readLeadingNumber(row.to));
        EXPECT_EQ(story.find("faster than sound") != std::string::npos, row.staysSupersonic)
            << story;
        if (row.staysSupersonic) {
            EXPECT_GT(flow->cells().back().M, 1);
            EXPECT_NEAR(numberAfter(story, "has a shock inside at x = "), exact.shockX, 0.006)
                << story;
        } else {
            EXPECT_NEAR(numberAfter(story, "The shock stands at x = "), exact.shockX,
                        3 * flow->dx())
                << story;
        }
    }
}

// The nozzle's colours: viridis from its dark end to its light one, ever
// lighter, for Mach numbers inside the scale; outside it the ends.
TEST(UnsteadyMode, MachColoursRiseInLightnessFromEndToEnd)
{
    EXPECT_EQ(machColor(0, 3), (Rgb{68, 1, 84}));
    EXPECT_EQ(machColor(3, 3), (Rgb{253, 231, 37}));
    EXPECT_EQ(machColor(-1, 3), machColor(0, 3));
    EXPECT_EQ(machColor(9, 3), machColor(3, 3));
    EXPECT_EQ(machColor(std::nan(""), 3), machColor(0, 3));
    double last = -1;
    for (int i = 0; i <= 60; ++i) {
        const double now = relativeLuminance(machColor(i / 20.0, 3));
        EXPECT_GT(now, last) << i;
        last = now;
    }
    EXPECT_EQ(machScaleTop(2), 3);
    EXPECT_EQ(machScaleTop(0.5), 1);
}

} // namespace cdnozzle
