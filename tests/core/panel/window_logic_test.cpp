// SPDX-License-Identifier: MIT
// The window's behaviour without a window: what each event calculates,
// where the bars stand, and what the status line says.
#include "panel/window_logic.h"

#include "gas/area_mach.h"
#include "gas/atmosphere.h"
#include "panel/back_pressure_bars.h"
#include "text/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace cdnozzle {

namespace {

// Events as the front ends send them: at a time on their clock, into an
// engine box, the pointer over a plot 377 pixels wide at the abscissa x.
Event timed(EventKind kind, double now)
{
    Event e(kind);
    e.time = now;
    return e;
}

Event engineBox(EngineFieldKind field, std::string text)
{
    Event e(EventKind::EditEngine, std::move(text));
    e.number = static_cast<double>(field);
    return e;
}

Event hoverAt(const WindowLogic& logic, PlotKind plot, double x)
{
    Event e(EventKind::Hover, 0.0);
    e.plot = static_cast<int>(plot);
    e.width = 377;
    if (logic.view().plots[static_cast<std::size_t>(plot)].drawn)
        e.number = Projection(logic.scene(plot), e.width, 1).px(x);
    return e;
}

struct Logged {
    Logged()
    {
        logic.setCalculatedHandler([this] { pepo.push_back(logic.model().state().PePo); });
    }
    WindowLogic logic;
    std::vector<double> pepo;
};

} // namespace

TEST(WindowLogic, StartsAtTheTopWithNothingCalculated)
{
    const WindowLogic logic;
    EXPECT_EQ(logic.texts().me_sup, "2");
    EXPECT_EQ(logic.coarsePosition(), 1);
    EXPECT_EQ(logic.finePosition(), 1);
    EXPECT_TRUE(logic.reportLines().empty());
    EXPECT_FALSE(logic.view().plots[1].drawn);
    EXPECT_EQ(logic.statusKind(), StatusKind::Empty);
    EXPECT_EQ(logic.statusText(), kStartText); // where to begin
    // As a front end opens: the start-up flow drawn, the bars still at the
    // top, the hint kept, nothing counted as the user's calculation.
    WindowLogic opened;
    opened.handle(Event(EventKind::Start));
    EXPECT_TRUE(opened.calculated());
    EXPECT_TRUE(opened.view().plots[1].drawn);
    EXPECT_EQ(opened.view().report.at(1), "M_max=2");
    EXPECT_EQ(opened.statusKind(), StatusKind::Empty);
    EXPECT_EQ(opened.statusText(), kStartText);
    EXPECT_EQ(opened.calculationCount(), 0);
    EXPECT_EQ(opened.finePosition(), 1);
    EXPECT_EQ(opened.view().coarse.label, "coarse");
    EXPECT_EQ(opened.view().fine.label, "fine");
    // The bars' ranges, which the front ends take from here.
    const ViewState v = opened.view();
    EXPECT_EQ(std::tuple(v.coarse.minimum, v.coarse.maximum, v.fine.minimum, v.fine.maximum),
              std::tuple(1, 100, 1, 1000));
    // The explanation is open from the start on a front end as wide as a
    // laptop's page, a tap away on a phone and in the designed window.
    for (const auto& [width, shown] :
         {std::pair{0.0, false}, {390.0, false}, {599.0, false}, {600.0, true}, {1280.0, true}}) {
        WindowLogic logic;
        Event start(EventKind::Start);
        start.width = width;
        logic.handle(start);
        EXPECT_EQ(logic.view().explanationShown, shown) << width;
    }
}

TEST(WindowLogic, TypedPePoWaitsThenTeachesTheBars)
{
    Logged t;
    t.logic.handle(Event(EventKind::EditPePo, "0.8"));
    EXPECT_TRUE(t.pepo.empty());
    EXPECT_EQ(t.logic.statusKind(), StatusKind::PendingPePo);
    EXPECT_EQ(t.logic.statusText(), kPendingPePoText);
    t.logic.handle(Event(EventKind::Calculate));
    EXPECT_EQ(t.pepo, std::vector<double>{0.8});
    EXPECT_EQ(t.logic.coarsePosition(), 21);
    EXPECT_EQ(t.logic.finePosition(), 201);
    EXPECT_EQ(t.logic.reportLines().size(), 8u);
    EXPECT_EQ(t.logic.statusText(),
              "Normal shock inside the nozzle at x = 1.575 (station 66; exact x = 1.5764)");
}

TEST(WindowLogic, BarChainsRunOnlyOnARealChangeAndStopAtTheEnds)
{
    Logged t;
    t.logic.handle(Event(EventKind::MoveCoarse, 1)); // where it stands: nothing runs
    EXPECT_TRUE(t.pepo.empty());
    t.logic.handle(Event(EventKind::MoveCoarse, 500)); // beyond the end: stops at 100
    EXPECT_EQ(t.logic.coarsePosition(), 100);
    EXPECT_EQ(t.logic.finePosition(), 991);
    EXPECT_EQ(t.pepo, std::vector<double>{0.01});
    t.pepo.clear();
    t.logic.handle(Event(EventKind::MoveFine, 998)); // parks the coarse bar without snapping
    EXPECT_EQ(t.pepo, std::vector<double>{0.003});
    EXPECT_EQ(t.logic.coarsePosition(), 100);
    EXPECT_EQ(t.logic.texts().pe_po, "0.003");
    // A fine step across a coarse boundary (also into the coarse bar's last
    // hundredth): the step, then the coarse bar's snap, which the fine bar
    // follows without calculating it again.
    for (const auto& [to, pepo, fine, coarse] :
         {std::tuple{6, std::vector<double>{0.995, 0.99}, 11, 2}, {990, {0.011, 0.01}, 991, 100}}) {
        Logged u;
        u.logic.handle(Event(EventKind::MoveFine, to));
        EXPECT_EQ(u.pepo, pepo) << to;
        EXPECT_EQ(std::tuple(u.logic.finePosition(), u.logic.coarsePosition()),
                  std::tuple(fine, coarse));
    }
}

TEST(WindowLogic, TypedPePoBelowTheBarsParksThemAtTheirEnds)
{
    Logged t;
    // Whether "Pe/Po −0.001" and "Pe/Po +0.001" can be pressed.
    const auto steps = [&] {
        const std::vector<MenuItem> items = t.logic.view().menus.front().items;
        const auto enabled = [&](const char* id) {
            return std::find_if(items.begin(), items.end(),
                                [&](const MenuItem& m) { return m.id == id; })
                ->enabled;
        };
        return std::pair(enabled("StepDown"), enabled("StepUp"));
    };
    EXPECT_EQ(steps(), std::pair(true, false));
    for (const char* typed : {"0.0004", "0.001"}) {
        t.logic.handle(Event(EventKind::EditPePo, typed));
        t.logic.handle(Event(EventKind::Calculate));
        EXPECT_EQ(t.logic.finePosition(), 1000) << typed;
        EXPECT_EQ(t.logic.coarsePosition(), 100) << typed;
        EXPECT_EQ(steps(), std::pair(false, true)) << typed;
    }
    // One fine step up from the bottom: 0.002, and the coarse bar stays.
    t.pepo.clear();
    t.logic.handle(Event(EventKind::MoveFine, 999));
    EXPECT_EQ(t.pepo, std::vector<double>{0.002});
    EXPECT_EQ(t.logic.coarsePosition(), 100);
    // And the top: a typed 1 stands both bars at 1.
    t.logic.handle(Event(EventKind::EditPePo, "1"));
    t.logic.handle(Event(EventKind::Calculate));
    EXPECT_EQ(t.logic.finePosition(), 1);
    EXPECT_EQ(t.logic.coarsePosition(), 1);
}

TEST(WindowLogic, RefusalIsRedUntilHoveredAndKeepsTheLastResult)
{
    Logged t;
    t.logic.handle(Event(EventKind::EditPePo, "0.5"));
    t.logic.handle(Event(EventKind::Calculate));
    const auto report = t.logic.reportLines();
    t.logic.handle(Event(EventKind::EditMeSup, ""));
    EXPECT_EQ(t.logic.statusKind(), StatusKind::Refusal);
    EXPECT_TRUE(t.logic.statusIsRefusal());
    EXPECT_EQ(t.logic.statusText(), "Me_Sup = must be a number from 1 to 100 (got \"\")");
    EXPECT_EQ(t.logic.reportLines(), report);
    t.logic.handle(hoverAt(t.logic, PlotKind::Mach, 2.0));
    EXPECT_FALSE(t.logic.statusIsRefusal());
    EXPECT_TRUE(t.logic.statusText().starts_with("x = 2, station 100: M = 2, p/p0 = 0.1278"));
    t.logic.handle(Event(EventKind::Leave));
    EXPECT_TRUE(t.logic.statusIsRefusal());
    EXPECT_EQ(t.pepo.size(), 1u);
}

TEST(WindowLogic, ScenarioOpensCalculatedOrIsRefusedKeepingTheBoxes)
{
    Logged t;
    t.logic.handle(Event(EventKind::OpenAddress, "#me=3&amax=3&pepo=0.1"));
    EXPECT_EQ(t.logic.model().result().regime, Regime::ObliqueExitShocks);
    EXPECT_EQ(t.logic.texts().me_sup, "3");
    EXPECT_EQ(t.logic.acceptedTexts().pe_po, "0.1");
    EXPECT_EQ(t.logic.coarsePosition(), 91);

    WindowLogic fresh;
    fresh.handle(Event(EventKind::OpenAddress, "#me=2.5&amax=3&pepo=abc"));
    EXPECT_TRUE(fresh.statusIsRefusal());
    EXPECT_EQ(fresh.statusText(), "Pe/Po = must be a number above 0 and at most 1 (got \"abc\")");
    EXPECT_EQ(fresh.texts().me_sup, "2");
    EXPECT_EQ(fresh.texts().pe_po, "1");
    EXPECT_FALSE(fresh.calculated());

    // With a gas and the third plot's quantity; without them, air and p/p0.
    t.logic.handle(Event(EventKind::OpenAddress, "#me=2&amax=3&pepo=0.8&gas=helium&plot=T"));
    EXPECT_EQ(t.logic.gasName(), "helium");
    EXPECT_EQ(t.logic.thirdPlot(), PlotQuantity::Temperature);
    EXPECT_EQ(t.logic.reportLines().at(3), "Pe/Po sesaltı limit=0.8728");
    t.logic.handle(Event(EventKind::OpenAddress, "#me=2&amax=3&pepo=0.8&k=1,25"));
    EXPECT_EQ(t.logic.acceptedGasName(), "gas with k = 1.25");
    EXPECT_EQ(t.logic.acceptedGasK(), 1.25);
    EXPECT_EQ(t.logic.thirdPlot(), PlotQuantity::Pressure);
    t.logic.handle(Event(EventKind::OpenAddress, "#me=2&amax=3&pepo=0.8"));
    EXPECT_EQ(t.logic.gasName(), "air");
    // A refused gas, or refused texts with a good gas, change nothing.
    for (const char* refused :
         {"#me=3&amax=3&pepo=0.5&gas=xenon&plot=rho",
          "#me=3&amax=3&pepo=0.5&gas=helium&k=2&plot=rho",
          "#me=3&amax=3&pepo=abc&gas=helium&plot=rho", "#me=3&amax=3&pepo=0.5&k=1.3abc&plot=rho",
          "#me=3&amax=3&pepo=0.5&k=1.3.4&plot=rho"}) {
        t.logic.handle(Event(EventKind::OpenAddress, refused));
        EXPECT_TRUE(t.logic.statusIsRefusal()) << refused;
        EXPECT_EQ(t.logic.texts().me_sup, "2");
        EXPECT_EQ(t.logic.gasName(), "air");
        EXPECT_EQ(t.logic.thirdPlot(), PlotQuantity::Pressure);
    }
    // The gas shared is the one the shown results were calculated with.
    t.logic.handle(Event(EventKind::EditMeSup, ""));
    t.logic.handle(Event(EventKind::ListedGas, "argon"));
    EXPECT_EQ(t.logic.gasName(), "argon");
    EXPECT_EQ(t.logic.acceptedGasName(), "air");
    EXPECT_EQ(t.logic.acceptedGasK(), kAirK);
}

TEST(WindowLogic, GasFromTheListOrTypedIntoOtherIsNamedOrRefused)
{
    // What "Other..." makes of a typed k: the gas's name, or the refusal.
    const struct {
        std::string typed;
        std::string name;
        std::string refusal;
    } rows[] = {
        {"1.25", "gas with k = 1.25", ""},
        {" 1,3", "gas with k = 1.3", ""},  // a decimal comma
        {"1.3 ", "gas with k = 1.3", ""},  // blanks around it dropped
        {"1.05", "gas with k = 1.05", ""}, // the ends of the range
        {"1.7", "gas with k = 1.7", ""},
        {"1.0499", "", "k must be a number from 1.05 to 1.7 (got \"1.0499\")"},
        {"1.6666666666666667", "helium", ""},
        {"1.23456789012345678901234567890123456789", "gas with k = 1.2346", ""},
        {"2", "", "k must be a number from 1.05 to 1.7 (got \"2\")"},
        {"abc", "", "k must be a number from 1.05 to 1.7 (got \"abc\")"},
        // Read whole, as --k reads it: nothing after the number.
        {"1.3abc", "", "k must be a number from 1.05 to 1.7 (got \"1.3abc\")"},
        {"1.3.4", "", "k must be a number from 1.05 to 1.7 (got \"1.3.4\")"},
        {"1,3,4", "", "k must be a number from 1.05 to 1.7 (got \"1,3,4\")"},
        {std::string(40, '9'), "",
         "k must be a number from 1.05 to 1.7 (got \"999999999999999999999999...\")"},
    };
    for (const auto& row : rows) {
        WindowLogic logic;
        logic.handle(Event(EventKind::EditPePo, "0.8"));
        logic.handle(Event(EventKind::Calculate));
        logic.handle(Event(EventKind::OtherGas, row.typed));
        if (row.refusal.empty()) {
            EXPECT_EQ(logic.gasName(), row.name) << row.typed;
            EXPECT_TRUE(logic.statusText().ends_with(" · " + row.name +
                                                     " (k = " + formatRounded4(logic.gasK()) + ")"))
                << logic.statusText();
        } else {
            EXPECT_EQ(logic.statusText(), row.refusal);
            EXPECT_TRUE(logic.statusIsRefusal());
            EXPECT_EQ(logic.gasName(), "air");
            EXPECT_EQ(logic.gasK(), kAirK);
        }
    }
    WindowLogic logic;
    logic.handle(Event(EventKind::ListedGas, "argon"));
    EXPECT_EQ(logic.gasName(), "argon");
    logic.handle(Event(EventKind::ListedGas, "xenon"));
    EXPECT_EQ(logic.statusText(),
              "The gas must be one of air, helium, argon, carbon dioxide, steam, "
              "hot combustion gas (got \"xenon\")");
    EXPECT_EQ(logic.gasName(), "argon");
    // "Other..." opens with the gas's k and a listed gas's own molar mass.
    const GasPrompt prompt = logic.otherGasPrompt();
    EXPECT_EQ(std::tuple(prompt.initial, prompt.molarInitial),
              std::tuple("1.6666666666666667", "39.948"));
}

TEST(WindowLogic, StepsResetLimitMarksAndTheDesignCondition)
{
    WindowLogic logic;
    logic.handle(Event(EventKind::EditPePo, "0.128"));
    logic.handle(Event(EventKind::Calculate));
    // Within half a fine step of the design ratio 0.12780 the status says so.
    EXPECT_TRUE(logic.statusText().starts_with("Design condition")) << logic.statusText();
    logic.handle(Event(EventKind::StepUp));
    EXPECT_EQ(logic.texts().pe_po, "0.129");
    EXPECT_TRUE(logic.statusText().starts_with("Oblique shocks")) << logic.statusText();
    logic.handle(Event(EventKind::StepDown));
    logic.handle(Event(EventKind::StepDown));
    EXPECT_EQ(logic.texts().pe_po, "0.127");
    logic.handle(Event(EventKind::CoarseUp));
    EXPECT_EQ(logic.texts().pe_po, "0.14");
    // The limits' marks on both bars.
    const ViewState v = logic.view();
    ASSERT_EQ(v.limitMarks.size(), 3u);
    EXPECT_EQ(v.limitMarks[0].fine, 92); // 0.9088
    EXPECT_EQ(v.limitMarks[0].coarse, 10);
    EXPECT_EQ(v.limitMarks[2].fine, 873); // 0.1278
    EXPECT_EQ(v.limitMarks[1].tooltip, "normal-shock limit, Pe/Po = 0.5751");
    EXPECT_EQ(v.fine.valueText, "Pe/Po 0.14");
    EXPECT_EQ(v.reportHelp.size(), v.report.size());
    EXPECT_EQ(v.reportHelp[3], "subsonic limit: below this back pressure the throat is choked");
    // The page receives them as they are.
    EXPECT_NE(viewJson(v).find("\"reportHelp\":[" + jsonQuoted(v.reportHelp[0])),
              std::string::npos);
    // Another gas moves the limits, and their marks with them; a design
    // ratio below the coarse bar's range (Me_Sup 5) is marked at its end.
    logic.handle(Event(EventKind::OtherGas, "1.25"));
    logic.handle(Event(EventKind::EditMeSup, "5"));
    const ViewState other = logic.view();
    ASSERT_EQ(other.limitMarks.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const LimitMark& m = other.limitMarks[i];
        EXPECT_NE(m.pepo, v.limitMarks[i].pepo) << m.name;
        EXPECT_EQ(m.tooltip, m.name + ", Pe/Po = " + formatRounded4(m.pepo));
        EXPECT_EQ(std::tuple(m.coarse, m.fine),
                  std::tuple(std::clamp(coarsePositionFor(m.pepo), kCoarseMin, kCoarseMax),
                             std::clamp(finePositionFor(m.pepo), kFineMin, kFineMax)))
            << m.name;
    }
    EXPECT_EQ(other.limitMarks[2].coarse, kCoarseMax);
    // Reset: the start-up values, nothing calculated.
    logic.handle(Event(EventKind::Reset));
    EXPECT_FALSE(logic.calculated());
    EXPECT_EQ(logic.texts(), InputTexts{});
    EXPECT_EQ(logic.gasName(), "air");
    EXPECT_EQ(logic.finePosition(), 1);
    EXPECT_EQ(logic.statusText(), kStartText);
    EXPECT_TRUE(logic.view().limitMarks.empty());
}

TEST(WindowLogic, ExportsAreNamedAndStampedWithTheScenario)
{
    WindowLogic logic;
    logic.handle(Event(EventKind::EditPePo, "0.8"));
    logic.handle(Event(EventKind::Calculate));
    Event e(EventKind::Export, "svg");
    e.plot = static_cast<int>(PlotKind::Mach);
    logic.handle(e);
    EXPECT_EQ(logic.lastExport().name, "nozzle-me2-pepo0.8-mach.svg");
    const std::string& svg = logic.lastExport().text;
    for (const char* part : {">0.5</text>", ">1.5</text>", ">x</text>", ">throat</text>",
                             ">exit</text>", ">0.9088</text>", ">M</text>",
                             ">Me_Sup = 2 · Amax/At = 3 · Pe/Po = 0.8 · air (k = 1.4)</text>"})
        EXPECT_NE(svg.find(part), std::string::npos) << part;
    logic.handle(Event(EventKind::ThirdPlot, 1.0));
    e.plot = static_cast<int>(PlotKind::Third);
    e.text = "png";
    logic.handle(e);
    EXPECT_EQ(logic.lastExport().name, "nozzle-me2-pepo0.8-temperature.png");
    e.text = "csv";
    logic.handle(e);
    EXPECT_EQ(logic.lastExport().name, "nozzle-me2-pepo0.8-stations.csv");
    // Where each goes, and whether it is painted from the display list or
    // is its text.
    const std::tuple<const char*, bool, bool, const char*> delivered[] = {
        {"copy", true, true, "image/png"},
        {"png", false, true, "image/png"},
        {"svg", false, false, "image/svg+xml"},
        {"csv", false, false, "text/csv"}};
    for (const auto& [format, clipboard, painted, mime] : delivered) {
        e.text = format;
        logic.handle(e);
        const ExportFile& f = logic.lastExport();
        EXPECT_EQ(std::tuple(f.toClipboard, f.painted, f.mime),
                  std::tuple(clipboard, painted, mime))
            << format;
        EXPECT_EQ(f.picture.lines.empty(), !painted) << format;
        EXPECT_EQ(f.text.empty(), painted) << format;
        EXPECT_EQ(f.picture.background, kPlotBackground) << format;
    }
    // XML cannot carry a control character, even escaped: the writer puts a
    // blank in its place.
    const DisplayList list{
        100, 100, kPlotBackground, {}, {{1, 2, "a\x01<b>\x1f", 10, false, Rgb{0, 0, 0}}}};
    EXPECT_NE(svgText(list).find(">a &lt;b&gt; </text>"), std::string::npos) << svgText(list);
}

TEST(WindowLogic, HoverBeforeAnyCalculationShowsNothing)
{
    WindowLogic logic;
    logic.handle(hoverAt(logic, PlotKind::Geometry, 1.0));
    EXPECT_FALSE(logic.hovering());
    EXPECT_EQ(logic.statusText(), kStartText); // where to begin
}

} // namespace cdnozzle

namespace cdnozzle {

namespace {

// A play driven by a clock the test sets.
struct Played : Logged {
    double now = 100;
    double period() const { return 1 / stepsPerSecond(logic.playSpeed()); }
    // n ticks, one step period apart.
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            now += period();
            logic.handle(timed(EventKind::Tick, now));
        }
    }
};

} // namespace

TEST(Play, EachTickOfTheClockIsOneStepAndTheBarsFollow)
{
    Played t;
    t.logic.handle(Event(EventKind::EditPePo, "0.8"));
    t.logic.handle(Event(EventKind::Calculate));
    t.pepo.clear();
    t.logic.handle(timed(EventKind::Play, t.now));
    EXPECT_TRUE(t.logic.playing());
    t.ticks(7);
    EXPECT_EQ(t.pepo, (std::vector<double>{0.799, 0.798, 0.797, 0.796, 0.795, 0.794, 0.793}));
    // Both bars stand for the back pressure: no snapping in a play.
    EXPECT_EQ(t.logic.finePosition(), 208);
    EXPECT_EQ(t.logic.coarsePosition(), 22);
    EXPECT_EQ(t.logic.texts().pe_po, "0.793");
    // A slow front end: the clock decides where the play stands, the steps
    // in between are dropped.
    t.pepo.clear();
    t.now += 10 * t.period();
    t.logic.handle(timed(EventKind::Tick, t.now));
    EXPECT_EQ(t.pepo, std::vector<double>{0.783});
    // Reverse walks back up; faster goes faster.
    t.logic.handle(timed(EventKind::Reverse, t.now));
    t.logic.handle(timed(EventKind::Faster, t.now));
    t.pepo.clear();
    t.ticks(3);
    EXPECT_EQ(t.pepo, (std::vector<double>{0.784, 0.785, 0.786}));
    EXPECT_FALSE(t.logic.playingDown());
}

TEST(Play, StopsTwoSecondsPastEachLimit)
{
    Played t;
    t.logic.handle(Event(EventKind::EditPePo, "0.92"));
    t.logic.handle(Event(EventKind::Calculate)); // PePo_sub 0.9088, PePo_NS 0.5751, PePo_OS 0.1278
    t.logic.handle(timed(EventKind::Faster, t.now));
    t.logic.handle(timed(EventKind::Play, t.now));
    std::vector<double> pauses;
    std::vector<std::string> banners;
    const int announced = t.logic.view().announcementSerial;
    for (int i = 0; i < 20000 && t.logic.playing(); ++i) {
        t.now += 0.01;
        t.logic.handle(timed(EventKind::Tick, t.now));
        const ViewState v = t.logic.view();
        if (t.logic.statusKind() == StatusKind::PlayPause &&
            (pauses.empty() || pauses.back() != t.logic.model().state().PePo)) {
            pauses.push_back(t.logic.model().state().PePo);
            banners.push_back(v.banner);
            EXPECT_NE(viewJson(v).find("\"banner\":" + jsonQuoted(v.banner)), std::string::npos);
            EXPECT_EQ(v.announcement, t.logic.statusText());
            EXPECT_TRUE(t.logic.pausedAtLimit(t.now));
            EXPECT_FALSE(t.logic.pausedAtLimit(t.now + kLimitPauseSeconds + 0.001));
            const int calculations = t.logic.calculationCount();
            t.logic.handle(timed(EventKind::Tick, t.now + 1.9));
            EXPECT_EQ(t.logic.calculationCount(), calculations); // standing still
        }
    }
    EXPECT_EQ(pauses, (std::vector<double>{0.908, 0.575, 0.127}));
    // Each banner names the limit passed and the flow now, in the status
    // line's and the explanation's words: 0.575 lies past the normal-shock
    // limit (a strong shock, no longer a normal one in the exit plane),
    // 0.127 past the design ratio (0.0008 below it: under-expanded).
    EXPECT_EQ(
        banners,
        (std::vector<std::string>{
            "Now past the subsonic limit · Normal shock inside the nozzle",
            "Now past the normal-shock limit · Strong shock at the exit: a Mach disk in the jet",
            "Now past the design pressure ratio · Under-expanded jet: expansion waves at the "
            "exit"}));
    EXPECT_EQ(t.logic.view().banner, ""); // gone once the play went on
    // A screen reader hears the three pauses, not the steps between them.
    EXPECT_EQ(t.logic.view().announcementSerial - announced, 3);
    EXPECT_EQ(t.logic.finePosition(), 1000); // ran to the end and stopped
    EXPECT_FALSE(t.logic.playing());
    // Play at the end starts again from the top.
    t.logic.handle(timed(EventKind::Play, t.now));
    EXPECT_TRUE(t.logic.playing());
    EXPECT_EQ(t.logic.texts().pe_po, "1");
}

TEST(Play, WithoutLimitPausesAndPausedByTheUser)
{
    Played t;
    t.logic.handle(Event(EventKind::PauseAtLimits, 0.0));
    t.logic.handle(Event(EventKind::EditPePo, "0.91"));
    t.logic.handle(Event(EventKind::Calculate));
    t.logic.handle(timed(EventKind::Play, t.now));
    t.ticks(5);
    EXPECT_NE(t.logic.statusKind(), StatusKind::PlayPause);
    EXPECT_EQ(t.logic.texts().pe_po, "0.905");
    // Any action on a bar, a box or Calculate pauses the play.
    t.logic.handle(Event(EventKind::MoveCoarse, 50));
    EXPECT_FALSE(t.logic.playing());
    const int calculations = t.logic.calculationCount();
    t.ticks(5);
    EXPECT_EQ(t.logic.calculationCount(), calculations);
    t.logic.handle(timed(EventKind::Play, t.now));
    t.logic.handle(Event(EventKind::EditPePo, "0.3"));
    EXPECT_FALSE(t.logic.playing());
}

// A play of more than 15 steps a second shows its readouts (the boxes, the
// status, the report, the engine's line, the address) 10 times a second
// while the bars and the plots follow every step; a slower play, a pause or
// standing still shows every step.
TEST(Play, AFastPlayHoldsItsReadoutsButNotTheBarsOrThePlots)
{
    const std::tuple<const char*, EventKind, bool, double> rows[] = {
        {"slow", EventKind::Slower, false, 0},
        {"fast", EventKind::Faster, false, kHeldReadoutsPerSecond},
        {"slow flow in time", EventKind::Slower, true, kHeldReadoutsPerSecond}};
    for (const auto& [name, speed, unsteady, readouts] : rows) {
        SCOPED_TRACE(name);
        Played t;
        for (const auto& [field, text] : {std::pair{EngineFieldKind::ChamberPressure, "7 MPa"},
                                          {EngineFieldKind::ChamberTemperature, "3500 K"},
                                          {EngineFieldKind::Throat, "300 cm2"}})
            t.logic.handle(engineBox(field, text));
        t.logic.handle(Event(EventKind::EditPePo, "0.8"));
        t.logic.handle(Event(EventKind::Calculate));
        t.logic.handle(Event(EventKind::Mode, unsteady ? 1.0 : 0.0));
        t.logic.handle(timed(speed, t.now));
        EXPECT_EQ(t.logic.view().readoutsPerSecond, 0);
        t.logic.handle(timed(EventKind::Play, t.now));
        EXPECT_EQ(t.logic.view().readoutsPerSecond, readouts);
        if (unsteady) continue;
        ViewState before = t.logic.view();
        t.ticks(1);
        ViewState held = t.logic.view(true);
        forEachSection(
            [](std::string_view section, int, const auto& was, const auto& now) {
                if (section == "bars" || section == "plot") {
                    EXPECT_NE(now.revision, was.revision) << section; // every step
                } else if (section != "menus" && section != "unsteady") {
                    EXPECT_EQ(now.revision, was.revision) << section; // held
                }
            },
            before, held);
        t.logic.handle(timed(EventKind::Play, t.now));
        EXPECT_EQ(t.logic.view().readoutsPerSecond, 0);
    }
}

} // namespace cdnozzle

namespace cdnozzle {

namespace {

void setEngine(WindowLogic& logic, const char* p0, const char* t0, const char* throat)
{
    logic.handle(engineBox(EngineFieldKind::ChamberPressure, p0));
    logic.handle(engineBox(EngineFieldKind::ChamberTemperature, t0));
    logic.handle(engineBox(EngineFieldKind::Throat, throat));
}

} // namespace

// The engine's boxes: the altitude gives Pe/Po and teaches the bars, a
// refused text changes nothing, the units keep every value, moving the
// back pressure otherwise forgets the altitude, the thrust exports.
TEST(Engine, BoxesAltitudeUnitsAndThrustExport)
{
    Logged t;
    t.logic.handle(Event(EventKind::EditMeSup, "3"));
    EXPECT_EQ(t.logic.view().engineLine, "");
    // The thrust against altitude is offered only with an engine.
    const auto offersThrust = [&] {
        const auto items = t.logic.plotMenu(PlotKind::Third).items;
        return std::any_of(items.begin(), items.end(),
                           [](const MenuItem& m) { return m.id == "Show_3"; });
    };
    t.logic.handle(Event(EventKind::ThirdPlot, 3.0));
    EXPECT_EQ(t.logic.thirdPlot(), PlotQuantity::Pressure);
    EXPECT_FALSE(offersThrust());
    t.logic.handle(engineBox(EngineFieldKind::ChamberPressure, "7"));
    EXPECT_EQ(t.logic.view().engineLine, "For thrust and I_sp: p0 =, T0 = and A_t =");
    setEngine(t.logic, "7", "3500 K", "300 cm2");
    ASSERT_TRUE(t.logic.engine());
    EXPECT_TRUE(t.logic.view().altitudeEnabled); // before any altitude
    EXPECT_TRUE(offersThrust());
    t.logic.handle(Event(EventKind::ThirdPlot, 3.0));
    EXPECT_EQ(t.logic.thirdPlot(), PlotQuantity::Thrust);
    EXPECT_EQ(t.logic.view().plots[2].caption, "F, I_sp");
    Event hover(EventKind::Hover, 200.0);
    hover.plot = static_cast<int>(PlotKind::Third);
    hover.width = 377;
    const int painted = t.logic.view().plots[2].revision;
    t.logic.handle(hover);
    EXPECT_EQ(t.logic.statusText().rfind("Altitude ", 0), 0u) << t.logic.statusText();
    EXPECT_EQ(t.logic.view().plots[2].revision, painted); // the same curve
    EXPECT_EQ(t.logic.engine()->molarMass, 0.028965);     // air's own
    t.logic.handle(engineBox(EngineFieldKind::Altitude, "20 km"));
    const double pepo = standardAtmosphere(20000)->p / 7e6;
    EXPECT_EQ(t.logic.texts().pe_po, formatRoundTrip(pepo));
    EXPECT_EQ(t.pepo.back(), pepo);
    EXPECT_EQ(t.logic.finePosition(), 1000);
    EXPECT_EQ(t.logic.view().engineLine.rfind("F = ", 0), 0u);
    EXPECT_NE(t.logic.view().engineLine.find(" at 20 km"), std::string::npos);
    EXPECT_NE(t.logic.explanation().find("The engine. Altitude 20 km"), std::string::npos);
    // The address carries the engine: opened elsewhere, the same flow.
    const std::string address = t.logic.view().address;
    EXPECT_NE(address.find("&plot=thrust&p0=7&t0=3500+K&at=300+cm2&alt=20+km"), std::string::npos);
    WindowLogic shared;
    shared.handle(Event(EventKind::OpenAddress, address));
    EXPECT_EQ(shared.engine(), t.logic.engine());
    EXPECT_EQ(shared.model().thirdScene(), t.logic.model().thirdScene());
    EXPECT_EQ(shared.texts(), t.logic.texts());
    shared.handle(Event(EventKind::OpenAddress, address + "&units=us&t0=-3"));
    EXPECT_TRUE(shared.statusIsRefusal());
    EXPECT_EQ(shared.units(), UnitSystem::SI);

    // A chamber below the air at 20 km (5.529 kPa): no flow, said as it is.
    t.logic.handle(engineBox(EngineFieldKind::ChamberPressure, "5 kPa"));
    EXPECT_EQ(t.logic.statusText(), "No flow: the back pressure is above the reservoir pressure");
    EXPECT_NE(t.logic.explanation().find("Pe/Po = 1: the back pressure is above the reservoir"),
              std::string::npos);
    t.logic.handle(engineBox(EngineFieldKind::ChamberPressure, "7"));
    t.logic.handle(engineBox(EngineFieldKind::ChamberPressure, "7 Mpascal"));
    EXPECT_TRUE(t.logic.statusIsRefusal());
    EXPECT_EQ(t.logic.engine()->p0, 7e6);
    t.logic.handle(engineBox(EngineFieldKind::ChamberPressure, "7"));
    EXPECT_FALSE(t.logic.statusIsRefusal());

    const Engine before = *t.logic.engine();
    t.logic.handle(Event(EventKind::Units, 1.0));
    EXPECT_EQ(t.logic.engineText(EngineFieldKind::ChamberPressure), "7 MPa");
    EXPECT_EQ(t.logic.engineText(EngineFieldKind::Throat), "300 cm2");
    t.logic.handle(engineBox(EngineFieldKind::ChamberTemperature,
                             t.logic.engineText(EngineFieldKind::ChamberTemperature)));
    EXPECT_EQ(*t.logic.engine(), before);
    EXPECT_EQ(t.logic.view().units, "us");
    EXPECT_NE(t.logic.view().engineLine.find(" lbf"), std::string::npos);
    EXPECT_EQ(t.logic.settings().back(), (Setting{"units", "us"}));

    t.logic.handle(Event(EventKind::Export, "thrust"));
    EXPECT_EQ(t.logic.lastExport().name, "nozzle-me3-thrust-over-altitude.csv");
    EXPECT_EQ(t.logic.lastExport().text.rfind("altitude (ft),outside pressure (psi)", 0), 0u);

    t.logic.handle(Event(EventKind::MoveFine, 500));
    EXPECT_FALSE(t.logic.altitude());
    EXPECT_EQ(t.logic.engineText(EngineFieldKind::Altitude), "");
    EXPECT_FALSE(t.logic.view().ascent);

    // An area ratio sets Me_Sup, and follows the gas.
    t.logic.handle(engineBox(EngineFieldKind::AreaRatio, "1.6875"));
    EXPECT_NEAR(t.logic.model().state().M_max, 2, 1e-14);
    t.logic.handle(Event(EventKind::ListedGas, "helium"));
    EXPECT_NEAR(t.logic.model().state().M_max, machOfAreaRatio(gasOf(5.0 / 3), 1.6875, true),
                1e-15);
    t.logic.handle(Event(EventKind::EditMeSup, "2.5"));
    EXPECT_EQ(t.logic.engineText(EngineFieldKind::AreaRatio), "");
    // Without the engine the third plot goes back to p/p0.
    t.logic.handle(Event(EventKind::EditEngine, ""));
    EXPECT_EQ(t.logic.thirdPlot(), PlotQuantity::Pressure);
    EXPECT_FALSE(offersThrust());
}

// The play climbs from the ground to 86 km while an altitude gives the
// back pressure, and stops past each limit named by its altitude.
TEST(Play, AscentNamesTheLimitAltitudes)
{
    Played t;
    setEngine(t.logic, "100 kPa", "300 K", "10 cm2"); // air, Me_Sup 2
    t.logic.handle(engineBox(EngineFieldKind::Altitude, "0"));
    EXPECT_EQ(t.logic.texts().pe_po, "1"); // the ground's pressure is above p0: no flow
    EXPECT_TRUE(t.logic.view().ascent);
    t.logic.handle(timed(EventKind::Faster, t.now));
    t.logic.handle(Event(EventKind::ThirdPlot, 3.0));
    t.logic.handle(timed(EventKind::Play, t.now));
    std::vector<std::string> banners;
    double highest = 0;
    // The thrust plot climbs too: its mark at the altitude of the moment,
    // its curve through the engine's figures there (on one scale).
    std::vector<double> scale;
    for (int i = 0; i < 20000 && t.logic.playing(); ++i) {
        t.now += 0.01;
        // The units switched halfway up: the climb goes on from where it is.
        if (i == 150) t.logic.handle(Event(EventKind::Units, 1.0));
        if (i == 152) t.logic.handle(Event(EventKind::Units, 0.0));
        t.logic.handle(timed(EventKind::Tick, t.now));
        ASSERT_GE(*t.logic.altitude(), highest - 100) << "step " << i;
        highest = std::max(highest, *t.logic.altitude());
        if (t.logic.units() != UnitSystem::SI) continue;
        const PlotScene& g = t.logic.model().thirdScene();
        const double km = *t.logic.altitude() / 1000;
        ASSERT_EQ(g.segments.back().kind, SegmentKind::Marker);
        ASSERT_NEAR(g.segments.back().x1, km, 1e-12);
        const double F =
            engineFigures(*t.logic.engine(), t.logic.model().state(), t.logic.model().result()).F;
        for (const Segment& s : g.segments) {
            if (s.color == SegmentColor::Red && std::fabs(s.x1 - km) < 1e-9 && F > 0)
                scale.push_back(s.y1 / F);
        }
        const ViewState v = t.logic.view();
        const std::string& banner = v.banner;
        if (!banner.empty() && (banners.empty() || banners.back() != banner))
            banners.push_back(banner);
        // The altitude's Pe/Po fits its box and reads back to 4 figures.
        ASSERT_LE(v.boxes.pe_po.size(), 9u) << v.boxes.pe_po;
        ASSERT_NEAR(readLeadingNumber(v.boxes.pe_po), t.logic.model().state().PePo,
                    t.logic.model().state().PePo * 5e-4);
    }
    const LimitAltitudes at = limitAltitudes(*t.logic.engine(), t.logic.model().state());
    auto km = [](std::optional<double> h) { return formatFixed(*h / 1000, 1) + " km"; };
    EXPECT_EQ(banners,
              (std::vector<std::string>{"Now past the choking altitude " + km(at.choking) +
                                            " · Normal shock inside the nozzle",
                                        "Now past the shock-exit altitude " + km(at.shockLeaves) +
                                            " · Strong shock at the exit: a Mach disk in the jet",
                                        "Now past the design altitude " + km(at.design) +
                                            " · Under-expanded jet: expansion waves at the exit"}));
    EXPECT_EQ(t.logic.engineText(EngineFieldKind::Altitude), "86 km");
    EXPECT_EQ(t.logic.altitudePosition(), t.logic.altitudeSteps());
    ASSERT_GT(scale.size(), 100u);
    for (const double r : scale) EXPECT_NEAR(r / scale.front(), 1, 1e-13);
}

// The projector view on a 1920 x 1080 screen, where the plots get at least
// 1500 x 840 pixels (the screen less the controls beside them, the bars
// above and the status line below; the window gives them 1691 x 990, the
// page 1612 x 900): the digits on the axes stand at least 24 pixels tall
// among the three plots and 36 alone, the status line's and the banner's
// letters 30. Keys 1 to 3 show one plot alone, 0 the three, only in the
// projector view.
TEST(Projector, DigitsForTheBackRowOfAHallAtFullHd)
{
    WindowLogic logic;
    logic.handle(Event(EventKind::EditPePo, "0.8"));
    logic.handle(Event(EventKind::Calculate));
    const auto digitHeights = [&](PlotKind kind, double width, double height) {
        std::vector<double> heights;
        for (const DisplayText& t : logic.displayList(kind, width, height, 1).texts)
            if (!t.text.empty() && t.text[0] >= '0' && t.text[0] <= '9')
                heights.push_back(t.size * kDigitHeight);
        return heights;
    };
    const auto menuItem = [&](const std::string& id) {
        for (const Menu& m : logic.view().menus)
            for (const MenuItem& i : m.items)
                if (i.id == id) return i;
        return MenuItem{};
    };
    logic.handle(Event(EventKind::ProjectorPlot, 2.0));
    EXPECT_EQ(logic.view().projectorPlot, 0);
    EXPECT_FALSE(menuItem("ProjectorPlot_2").enabled);
    EXPECT_TRUE(menuItem("ProjectorPlot_0").checked); // nothing chosen meanwhile
    logic.handle(Event(EventKind::Projector, 1.0));
    for (const auto& [layout, tallest, key] :
         {std::tuple{0, 24.0, "0"}, {1, 36.0, "1"}, {2, 36.0, "2"}, {3, 36.0, "3"}}) {
        logic.handle(Event(EventKind::ProjectorPlot, static_cast<double>(layout)));
        const ViewState v = logic.view();
        EXPECT_EQ(v.projectorPlot, layout);
        EXPECT_TRUE(menuItem("ProjectorPlot_" + std::to_string(layout)).checked);
        EXPECT_EQ(menuItem("ProjectorPlot_" + std::to_string(layout)).key, key);
        EXPECT_GE(v.statusSize * kDigitHeight, 30);
        EXPECT_GE(v.bannerSize * kDigitHeight, 30);
        double shown = 0;
        for (int i = 0; i < 3; ++i) {
            const auto kind = static_cast<PlotKind>(i);
            EXPECT_EQ(logic.plotShown(kind), layout == 0 || layout == i + 1) << layout;
            if (logic.plotShown(kind)) shown += plotDesign(kind).height;
        }
        for (int i = 0; i < 3; ++i) {
            const auto kind = static_cast<PlotKind>(i);
            if (!logic.plotShown(kind)) continue;
            const double height = (840 - 2 * kFigureGap) * plotDesign(kind).height / shown;
            const std::vector<double> digits = digitHeights(kind, 1500, height);
            EXPECT_GE(digits.size(), 4u);
            for (const double h : digits)
                EXPECT_GE(h, tallest) << "layout " << layout << " plot " << i;
            // The caption ("M", "p/p0") is drawn with the plot, as tall.
            if (kind == PlotKind::Geometry) continue;
            const DisplayList list = logic.displayList(kind, 1500, height, 1);
            const std::string caption = kind == PlotKind::Mach ? "M" : "p/p0";
            EXPECT_TRUE(std::any_of(list.texts.begin(), list.texts.end(),
                                    [&](const DisplayText& t) {
                                        return t.text == caption &&
                                               t.size * kDigitHeight >= tallest;
                                    }))
                << "layout " << layout << " plot " << i;
        }
    }
    // Back to the usual view: the three plots as designed, the letters too.
    logic.handle(Event(EventKind::Projector, 0.0));
    const ViewState v = logic.view();
    EXPECT_EQ(v.projectorPlot, 0);
    EXPECT_EQ(v.statusSize, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(logic.plotShown(static_cast<PlotKind>(i)));
        for (const double h : digitHeights(static_cast<PlotKind>(i), 1500, 300))
            EXPECT_DOUBLE_EQ(h, 9 * kDigitHeight);
    }
}

} // namespace cdnozzle

namespace cdnozzle {

// A box left holding a refused text keeps its refusal in view whatever the
// user does next (another gas, Enter, a bar step, a play), nothing shown
// looks current that needs its value, and the address keeps only what was
// accepted; mending the box brings the figures back.
TEST(WindowLogic, ARefusedBoxStaysRefusedWhateverFollows)
{
    struct Row {
        const char* name;
        Event refused, then, mended;
        bool engine; // the flow stays current, the thrust is withheld
    };
    const Row rows[] = {
        {"comma p0, then helium", engineBox(EngineFieldKind::ChamberPressure, "7,5 MPa"),
         Event(EventKind::ListedGas, "helium"),
         engineBox(EngineFieldKind::ChamberPressure, "7.5 MPa"), true},
        {"capital unit, then Enter", engineBox(EngineFieldKind::ChamberPressure, "1015 PSI"),
         Event(EventKind::Calculate), engineBox(EngineFieldKind::ChamberPressure, "1015 psi"),
         true},
        {"throat, then a bar step", engineBox(EngineFieldKind::Throat, "300 cm3"),
         Event(EventKind::StepDown), engineBox(EngineFieldKind::Throat, "300 cm2"), true},
        {"altitude, then Play", engineBox(EngineFieldKind::Altitude, "high"),
         Event(EventKind::Play), engineBox(EngineFieldKind::Altitude, "20 km"), true},
        {"area ratio, then another engine box", engineBox(EngineFieldKind::AreaRatio, "abc"),
         engineBox(EngineFieldKind::ChamberTemperature, "3500K"),
         engineBox(EngineFieldKind::AreaRatio, "1.6875"), true},
        {"Me_Sup, then a bar step", Event(EventKind::EditMeSup, "abc"), Event(EventKind::StepDown),
         Event(EventKind::EditMeSup, "2"), false},
        {"Amax, then Enter", Event(EventKind::EditAmax, "2000"), Event(EventKind::Calculate),
         Event(EventKind::EditAmax, "3"), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WindowLogic logic;
        logic.handle(
            Event(EventKind::OpenAddress, "#me=2&amax=3&pepo=0.6&p0=7MPa&t0=3500K&at=300cm2"));
        ASSERT_TRUE(logic.engine());
        logic.handle(row.refused);
        const std::string why = logic.statusText();
        ASSERT_TRUE(logic.statusIsRefusal());
        logic.handle(row.then);
        ViewState v = logic.view();
        EXPECT_TRUE(v.statusIsRefusal);
        EXPECT_EQ(v.status, why);
        // The refused text never reaches the address.
        const auto opened = scenarioOf(v.address);
        ASSERT_TRUE(opened);
        for (const std::string& text : opened->engine) EXPECT_NE(text, row.refused.text);
        EXPECT_NE(opened->texts.me_sup, row.refused.text);
        EXPECT_NE(opened->texts.amax, row.refused.text);
        EXPECT_NE(v.address.find("&p0=7MPa&t0=3500K&at=300cm2"), std::string::npos) << v.address;
        if (row.engine) {
            EXPECT_EQ(v.engineLine.find("F = "), std::string::npos) << v.engineLine;
            EXPECT_EQ(v.explanation.find("The engine."), std::string::npos);
            EXPECT_EQ(v.banner, "");
        } else {
            EXPECT_EQ(v.banner.rfind("Showing the last accepted values: Me_Sup = 2", 0), 0u)
                << v.banner;
        }
        logic.handle(row.mended);
        logic.handle(Event(EventKind::Calculate));
        v = logic.view();
        EXPECT_FALSE(v.statusIsRefusal) << v.status;
        EXPECT_EQ(v.engineLine.rfind("F = ", 0), 0u) << v.engineLine;
        EXPECT_EQ(v.banner, "");
    }
}

// A link means the same to every reader: its numbers are read in its own
// units (SI when it names none), the reader's units and saved settings stay,
// and a value it cannot take is refused in words.
TEST(WindowLogic, ALinkMeansTheSameToEveryReader)
{
    const std::string link = "#me=2&amax=3&pepo=0.6&p0=7&t0=3500&at=300";
    WindowLogic si, us;
    us.handle(Event(EventKind::Units, 1.0));
    si.handle(Event(EventKind::OpenAddress, link));
    us.handle(Event(EventKind::OpenAddress, link));
    ASSERT_TRUE(si.engine() && us.engine());
    EXPECT_EQ(*us.engine(), *si.engine());
    EXPECT_EQ(us.units(), UnitSystem::US);
    EXPECT_EQ(us.settings().back(), (Setting{"units", "us"}));
    EXPECT_EQ(us.engineText(EngineFieldKind::ChamberPressure), "7 MPa");
    // Written back with its units, it reads the same again.
    EXPECT_NE(si.view().address.find("&units=si"), std::string::npos);
    WindowLogic again;
    again.handle(Event(EventKind::Units, 1.0));
    again.handle(Event(EventKind::OpenAddress, us.view().address));
    EXPECT_EQ(*again.engine(), *si.engine());
    // A number typed without its unit, in US units, travels as one.
    Event typed(EventKind::EditEngine, "1000");
    typed.number = static_cast<double>(EngineFieldKind::ChamberPressure);
    us.handle(typed);
    WindowLogic reader;
    reader.handle(Event(EventKind::OpenAddress, us.view().address));
    ASSERT_TRUE(reader.engine());
    EXPECT_EQ(reader.engine()->p0, us.engine()->p0) << us.view().address;
    si.handle(Event(EventKind::OpenAddress, link + "&units=us"));
    EXPECT_EQ(si.units(), UnitSystem::SI);
    EXPECT_EQ(si.settings().back(), (Setting{"units", "si"}));
    EXPECT_NEAR(si.engine()->p0, 7 * 6894.757293168361, 1e-6);

    const std::pair<const char*, const char*> refused[] = {
        {"&units=xyz", "units = must be si or us (got \"xyz\")"},
        {"&plot=xyz", "plot = must be p, T, rho or thrust (got \"xyz\")"},
        {"&mode=xyz", "mode = must be steady or unsteady (got \"xyz\")"},
    };
    for (const auto& [tail, why] : refused) {
        WindowLogic logic;
        logic.handle(Event(EventKind::OpenAddress, link + tail));
        EXPECT_TRUE(logic.statusIsRefusal());
        EXPECT_EQ(logic.statusText(), why);
        EXPECT_FALSE(logic.calculated());
    }
}

} // namespace cdnozzle

namespace cdnozzle {

// Each section of the view carries a revision that moves exactly when the
// section's content does, whatever the event; a second look moves nothing.
TEST(ViewSections, ARevisionMovesExactlyWhenItsSectionChanges)
{
    WindowLogic logic;
    logic.handle(Event(EventKind::Start));
    auto at = [](EventKind kind, double time) {
        Event e(kind);
        e.time = time;
        return e;
    };
    Event hover(EventKind::Hover, 120.0);
    hover.plot = 1;
    hover.width = 377;
    const std::vector<Event> events{{EventKind::EditPePo, "0.8"}, {EventKind::Calculate},
                                    {EventKind::MoveFine, 300.0}, at(EventKind::Faster, 0),
                                    at(EventKind::Play, 0),       at(EventKind::Tick, 0.02),
                                    at(EventKind::Tick, 0.03),    at(EventKind::Tick, 0.2),
                                    at(EventKind::Play, 0.3),     hover,
                                    {EventKind::Leave},           {EventKind::Explain, 1.0},
                                    {EventKind::ThirdPlot, 1.0},  {EventKind::Projector, 1.0},
                                    {EventKind::ZoomIn},          {EventKind::Units, 1.0},
                                    {EventKind::Mode, 1.0},       at(EventKind::TimeStep, 0.4),
                                    at(EventKind::Play, 0.5),     at(EventKind::Tick, 0.6),
                                    {EventKind::MoveFine, 500.0}, at(EventKind::TimeRestart, 0.7),
                                    {EventKind::Mode, 0.0},       {EventKind::Reset},
                                    {EventKind::EditMeSup, "\tx"}};
    ViewState last = logic.view();
    for (const Event& e : events) {
        logic.handle(e);
        const ViewState now = logic.view();
        const ViewState again = logic.view();
        const std::string_view name = eventFormatOf(e.kind).name;
        forEachSection(
            [&](std::string_view section, int index, const auto& a, const auto& b, const auto& c) {
                EXPECT_EQ(a.revision != b.revision, !(a == b)) << section << index << " " << name;
                EXPECT_EQ(b.revision, c.revision) << section << index << " " << name;
            },
            last, now, again);
        // The same, field by field, for fields a step changes.
        if (now.status != last.status || now.banner != last.banner) {
            EXPECT_NE(now.StatusView::revision, last.StatusView::revision) << name;
        }
        if (!(now.fine == last.fine) || !(now.limitMarks == last.limitMarks)) {
            EXPECT_NE(now.BarsView::revision, last.BarsView::revision) << name;
        }
        if (now.report != last.report || now.explanationShown != last.explanationShown) {
            EXPECT_NE(now.ReportView::revision, last.ReportView::revision) << name;
        }
        if (now.plots[2].caption != last.plots[2].caption) {
            EXPECT_NE(now.plots[2].revision, last.plots[2].revision) << name;
        }
        last = now;
    }
    // The refused box keeps the tab typed: the view's JSON escapes it, as
    // it does every control character.
    EXPECT_EQ(last.boxes.me_sup, "\tx");
    const std::string json = viewJson(last);
    EXPECT_TRUE(std::none_of(json.begin(), json.end(), [](char c) { return c >= 0 && c < 0x20; }));
    EXPECT_NE(json.find("\\t"), std::string::npos);
    EXPECT_EQ(jsonQuoted("a\"\\\x01\x1f"), "\"a\\\"\\\\\\u0001\\u001f\"");
    // Every event kind has a name of its own in a log, and carries there
    // the time the logic reads.
    for (int k = 0; k <= static_cast<int>(EventKind::TimeRestart); ++k) {
        const EventFormat& f = eventFormatOf(static_cast<EventKind>(k));
        EXPECT_EQ(f.kind, static_cast<EventKind>(k)) << k;
        EXPECT_EQ(eventFormatNamed(f.name), &f) << f.name;
    }
    for (const EventKind kind : {EventKind::Play, EventKind::Reverse, EventKind::Slower,
                                 EventKind::Faster, EventKind::Tick, EventKind::TimeRestart})
        EXPECT_NE(eventFormatOf(kind).fields.find('s'), std::string_view::npos)
            << eventFormatOf(kind).name;
}

// The settings kept between runs read back as they were kept (Faster at
// the fastest speed keeps it).
TEST(ViewSections, KeptSettingsReadBackAsTheyWere)
{
    WindowLogic kept, next;
    for (const Event& e :
         {Event(EventKind::ZoomIn), Event(EventKind::Faster), Event(EventKind::Faster),
          Event(EventKind::PauseAtLimits, 0.0), Event(EventKind::Projector, 1.0),
          Event(EventKind::Units, 1.0), Event(EventKind::Mode, 1.0)})
        kept.handle(e);
    for (const Setting& s : kept.settings())
        next.handle(Event(EventKind::Setting, s.key + "=" + s.value));
    EXPECT_EQ(next.settings(), kept.settings());
    EXPECT_NE(next.settings(), WindowLogic().settings());
}

} // namespace cdnozzle

namespace cdnozzle {

namespace {

const ButtonState& button(const ViewState& v, const std::string& id)
{
    const auto it = std::find_if(v.buttons.begin(), v.buttons.end(),
                                 [&](const ButtonState& b) { return b.id == id; });
    EXPECT_NE(it, v.buttons.end()) << id;
    return *it;
}

} // namespace

// Before a flow is drawn (at the very start, after Reset) Calculate and
// Play stand out, as the status line says, and nothing can be saved,
// shared or chosen from a plot's menu; a drawn flow has them all. A button
// shown as a toggle is pressed exactly while its entry is on.
TEST(FrontEnds, WhereToBeginStandsOutUntilAFlowIsDrawn)
{
    struct Row {
        const char* name;
        std::vector<Event> events;
        bool flow;
    };
    const Row rows[] = {
        {"built", {}, false},
        {"opened", {Event(EventKind::Start)}, true},
        {"calculated", {Event(EventKind::EditPePo, "0.8"), Event(EventKind::Calculate)}, true},
        {"reset", {Event(EventKind::Start), Event(EventKind::Reset)}, false},
        {"playing",
         {Event(EventKind::Start), Event(EventKind::Play), Event(EventKind::Explain, 1.0)},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WindowLogic logic;
        for (const Event& e : row.events) logic.handle(e);
        const ViewState v = logic.view();
        for (int plot = 0; plot < 3; ++plot)
            EXPECT_EQ(logic.plotMenu(static_cast<PlotKind>(plot)).items.empty(), !row.flow);
        for (const char* id : {"Command1", "Play"}) {
            EXPECT_TRUE(button(v, id).enabled) << id;
            EXPECT_EQ(button(v, id).suggested, !row.flow) << id;
        }
        for (const char* id : {"ShareLink", "SaveFigure"}) {
            EXPECT_EQ(button(v, id).enabled, row.flow) << id;
            EXPECT_FALSE(button(v, id).suggested) << id;
        }
        for (const Menu& menu : v.menus)
            for (const MenuItem& item : menu.items) {
                const bool on = item.id == "Play" ? v.playing : item.checked;
                EXPECT_EQ(item.toggle, item.checkable || item.id == "Play") << item.id;
                EXPECT_EQ(item.pressed, item.toggle && on) << item.id;
            }
        // An export asked for then makes nothing.
        Event save(EventKind::Export, "png");
        logic.handle(save);
        EXPECT_EQ(logic.lastExport().serial, row.flow ? 1 : 0);
    }
}

// The keys besides the menus' entries, each where it acts: Enter in a box
// calculates, a box keeps Page Up, Page Down and "?" ("?" shows the list,
// whether it is shown or not), a browser keeps its zoom keys; each is in
// the list of keys.
TEST(FrontEnds, EachKeyActsWhereTheLogicSays)
{
    struct Row {
        const char* key;
        Event event;
        bool inBoxes, outsideBoxes, browserKeeps;
        const char* listed; // as the list of keys names it
    };
    const Row rows[] = {
        {"Enter", Event(EventKind::Calculate), true, false, false, "Enter"},
        {"PgDown", Event(EventKind::CoarseDown), false, true, false, "Page Down"},
        {"PgUp", Event(EventKind::CoarseUp), false, true, false, "Page Up"},
        {"?", Event(EventKind::Shortcuts, 1.0), false, true, false, "?"},
        {"Ctrl++", Event(EventKind::ZoomIn), true, true, true, "Ctrl+Plus, Ctrl+Minus, Ctrl+0"},
        {"Ctrl+=", Event(EventKind::ZoomIn), true, true, true, "Ctrl+Plus, Ctrl+Minus, Ctrl+0"},
        {"Ctrl+-", Event(EventKind::ZoomOut), true, true, true, "Ctrl+Plus, Ctrl+Minus, Ctrl+0"},
        {"Ctrl+0", Event(EventKind::ZoomReset), true, true, true, "Ctrl+Plus, Ctrl+Minus, Ctrl+0"},
    };
    WindowLogic logic;
    logic.handle(Event(EventKind::Shortcuts, 1.0)); // the list shown
    const ViewState v = logic.view();
    ASSERT_EQ(v.extraKeys.size(), std::size(rows));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        const auto bound = std::find_if(v.extraKeys.begin(), v.extraKeys.end(),
                                        [&](const KeyBinding& k) { return k.key == row.key; });
        ASSERT_NE(bound, v.extraKeys.end());
        const KeyBinding& k = *bound;
        EXPECT_EQ(eventJson(k.event), eventJson(row.event));
        EXPECT_EQ(std::tuple(k.inBoxes, k.outsideBoxes, k.browserKeeps),
                  std::tuple(row.inBoxes, row.outsideBoxes, row.browserKeeps));
        EXPECT_TRUE(std::any_of(v.keys.begin(), v.keys.end(),
                                [&](const KeyHelp& h) { return h.key == row.listed; }));
    }
}

} // namespace cdnozzle
