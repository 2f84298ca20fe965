// The window's behaviour without a window: what each event calculates,
// where the bars stand, and what the status line says.
#include "panel/window_logic.h"

#include <gtest/gtest.h>

namespace cdnozzle {

namespace {

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
    EXPECT_EQ(logic.statusKind(), StatusKind::Empty);
    EXPECT_EQ(logic.statusText(), "");
}

TEST(WindowLogic, TypedPePoWaitsThenTeachesTheBars)
{
    Logged t;
    t.logic.editPePo("0.8");
    EXPECT_TRUE(t.pepo.empty());
    EXPECT_EQ(t.logic.statusKind(), StatusKind::PendingPePo);
    EXPECT_EQ(t.logic.statusText(), kPendingPePoText);
    t.logic.pressCalculate();
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
    t.logic.moveCoarse(1); // where it stands: nothing runs
    EXPECT_TRUE(t.pepo.empty());
    t.logic.moveCoarse(500); // beyond the end: stops at 100
    EXPECT_EQ(t.logic.coarsePosition(), 100);
    EXPECT_EQ(t.logic.finePosition(), 991);
    EXPECT_EQ(t.pepo, (std::vector<double>{0.01, 0.01}));
    t.pepo.clear();
    t.logic.moveFine(998); // parks the coarse bar without snapping
    EXPECT_EQ(t.pepo, std::vector<double>{0.003});
    EXPECT_EQ(t.logic.coarsePosition(), 100);
    EXPECT_EQ(t.logic.texts().pe_po, "0.003");
}

TEST(WindowLogic, RefusalIsRedUntilHoveredAndKeepsTheLastResult)
{
    Logged t;
    t.logic.editPePo("0.5");
    t.logic.pressCalculate();
    const auto report = t.logic.reportLines();
    t.logic.editMeSup("");
    EXPECT_EQ(t.logic.statusKind(), StatusKind::Refusal);
    EXPECT_TRUE(t.logic.statusIsRefusal());
    EXPECT_EQ(t.logic.statusText(), "Me_Sup = must be a number from 1 to 100 (got \"\")");
    EXPECT_EQ(t.logic.reportLines(), report);
    t.logic.hover(PlotKind::Mach, 2.0);
    EXPECT_FALSE(t.logic.statusIsRefusal());
    EXPECT_EQ(t.logic.statusText(), "x = 2, station 100: M = 2");
    t.logic.leavePlot();
    EXPECT_TRUE(t.logic.statusIsRefusal());
    EXPECT_EQ(t.pepo.size(), 1u);
}

TEST(WindowLogic, ScenarioOpensCalculatedOrIsRefusedKeepingTheBoxes)
{
    Logged t;
    t.logic.openScenario({"3", "3", "0.1"});
    EXPECT_EQ(t.logic.model().result().regime, Regime::ObliqueExitShocks);
    EXPECT_EQ(t.logic.texts().me_sup, "3");
    EXPECT_EQ(t.logic.acceptedTexts().pe_po, "0.1");
    EXPECT_EQ(t.logic.coarsePosition(), 91);

    WindowLogic fresh;
    fresh.openScenario({"2.5", "3", "abc"});
    EXPECT_TRUE(fresh.statusIsRefusal());
    EXPECT_EQ(fresh.statusText(), "Pe/Po = must be a number above 0 and at most 1 (got \"abc\")");
    EXPECT_EQ(fresh.texts().me_sup, "2");
    EXPECT_EQ(fresh.texts().pe_po, "1");
    EXPECT_FALSE(fresh.calculated());
}

TEST(WindowLogic, HoverBeforeAnyCalculationShowsNothing)
{
    WindowLogic logic;
    logic.hover(PlotKind::Geometry, 1.0);
    EXPECT_FALSE(logic.hovering());
    EXPECT_EQ(logic.statusText(), "");
}

} // namespace cdnozzle
