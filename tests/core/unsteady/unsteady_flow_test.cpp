// SPDX-License-Identifier: MIT
// The flow in time, verified as its field does it: arrival at the exact
// steady flow, the introductory CFD textbook's nozzle cases, shock tubes
// against the exact Riemann solution, conservation with closed ends, and
// robustness on random inputs. Bigger tables (every gas and design at
// N = 400, the grid study) are printed by bench/unsteady_study.
#include "unsteady/unsteady_flow.h"

#include "core/unsteady/steady_cases.h"
#include "test_names.h"
#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace cdnozzle {
namespace {

UnsteadySettings settingsOf(Scheme scheme, int cells, double courant)
{
    UnsteadySettings s;
    s.scheme = scheme;
    s.cells = cells;
    s.courant = courant;
    return s;
}

// 1. From rest to the exact steady flow of every regime.
struct ArrivalCase {
    double k;
    double meSup;
    test::SteadyCase regime;
    int cells;
};

std::string arrivalName(const ArrivalCase& c)
{
    return "k" + test::caseName(formatGeneral(roundSignificant(c.k, 3))) + "_MeSup" +
           test::caseName(formatGeneral(c.meSup)) + "_" +
           std::string(test::steadyCaseName(c.regime));
}

void PrintTo(const ArrivalCase& c, std::ostream* os)
{
    *os << arrivalName(c);
}

class ArrivesAtTheSteadyFlow : public testing::TestWithParam<ArrivalCase> {};

TEST_P(ArrivesAtTheSteadyFlow, WithinHalfAPercentAndTheShockWithinACellAndAHalf)
{
    const ArrivalCase& c = GetParam();
    const Gas gas = gasOf(c.k);
    const Contour contour = nozzleContour(gas, c.meSup);
    const double pb = test::steadyCaseBackPressure(gas, contour, c.regime);
    const SteadyFlow exact = steadyFlow(gas, contour, pb);
    UnsteadyFlow flow(gas, contour, settingsOf(Scheme::MusclHllc, c.cells, 0.8), pb, Start::Rest);
    // A slow subsonic exit rings for long: 224 000 steps at Me_Sup 3.
    ASSERT_TRUE(flow.runUntilSteady(1000000)) << flow.failure();
    const test::SteadyErrors e = test::steadyErrors(flow, exact);
    EXPECT_LT(e.M, 0.005);
    EXPECT_LT(e.p, 0.005);
    EXPECT_LT(e.mdot, 0.001);
    const bool shockInside = exact.regime == SteadyRegime::ShockInside;
    EXPECT_EQ(e.shockFound, shockInside);
    EXPECT_LT(e.shockCells, 1.5);
    // The events of a start from rest: the throat chokes when the flow is
    // choked, and the run ends steady.
    bool choked = false;
    for (const UnsteadyEvent& ev : flow.events()) choked |= ev.kind == FlowEventKind::ThroatChokes;
    EXPECT_EQ(choked, exact.regime != SteadyRegime::Subsonic);
    // The throat chokes at the step when the first cell past the throat
    // reaches Mach 0.99, at that step's time.
    for (const UnsteadyEvent& ev : flow.events()) {
        if (ev.kind != FlowEventKind::ThroatChokes) continue;
        UnsteadyFlow again(gas, contour, settingsOf(Scheme::MusclHllc, c.cells, 0.8), pb,
                           Start::Rest);
        const auto throatMach = [&] {
            for (const CellValues& cell : again.cells())
                if (cell.x >= contour.throatX) return cell.M;
            return 0.0;
        };
        ASSERT_TRUE(again.run(ev.step - 1));
        EXPECT_LT(throatMach(), 0.99);
        ASSERT_TRUE(again.step());
        EXPECT_GE(throatMach(), 0.99);
        EXPECT_EQ(ev.t, again.time());
        break;
    }
    ASSERT_FALSE(flow.events().empty());
    EXPECT_EQ(flow.events().back().kind, FlowEventKind::Steady);
    // A last step cut short to land on a time leaves the flow steady.
    ASSERT_TRUE(flow.runUntilTime(flow.time() + 1e-9, 10));
    EXPECT_TRUE(flow.steady()) << flow.residual();
    // The back pressure stepped down: the shock walks to its new place and
    // the flow is steady a second time, after the step.
    if (shockInside) {
        const long stepped = flow.steps();
        flow.setBackPressure(0.97 * pb);
        ASSERT_TRUE(flow.runUntilSteady(1000000)) << flow.failure();
        std::vector<long> steadyAt;
        for (const UnsteadyEvent& ev : flow.events())
            if (ev.kind == FlowEventKind::Steady) steadyAt.push_back(ev.step);
        ASSERT_EQ(steadyAt.size(), 2u);
        EXPECT_GT(steadyAt[1], stepped);
        EXPECT_EQ(steadyAt[1], flow.steps());
    }
}

// Every regime for air and Me_Sup 2; the other gases and designs in the
// regimes they change most. The full table (all 54 rows, too slow for
// every test run): bench/unsteady_study.
INSTANTIATE_TEST_SUITE_P(
    Regimes, ArrivesAtTheSteadyFlow,
    testing::Values(ArrivalCase{1.4, 2, test::SteadyCase::Subsonic, 200},
                    ArrivalCase{1.4, 2, test::SteadyCase::Choked, 400},
                    ArrivalCase{1.4, 2, test::SteadyCase::ShockAhead, 400},
                    ArrivalCase{1.4, 2, test::SteadyCase::ShockBehind, 400},
                    ArrivalCase{1.4, 2, test::SteadyCase::Overexpanded, 400},
                    ArrivalCase{1.4, 2, test::SteadyCase::NearTheExitShockLimit, 400},
                    ArrivalCase{1.4, 2, test::SteadyCase::Underexpanded, 400},
                    ArrivalCase{1.2, 3, test::SteadyCase::ShockAhead, 400},
                    // A slow exit turns a small gain of stagnation pressure
                    // into a large error of the mass flow; a strong shock.
                    ArrivalCase{1.4, 3, test::SteadyCase::Subsonic, 400},
                    ArrivalCase{1.4, 3, test::SteadyCase::ShockBehind, 400},
                    ArrivalCase{5.0 / 3.0, 1.5, test::SteadyCase::ShockBehind, 400},
                    ArrivalCase{1.2, 1.5, test::SteadyCase::NearTheExitShockLimit, 400},
                    ArrivalCase{5.0 / 3.0, 1.5, test::SteadyCase::NearTheExitShockLimit, 400},
                    ArrivalCase{5.0 / 3.0, 3, test::SteadyCase::Underexpanded, 400}),
    [](const testing::TestParamInfo<ArrivalCase>& info) { return arrivalName(info.param); });

// 2. The textbook's nozzle A = 1 + 2.2 (x - 1.5)^2 with its own guesses.
TEST(TextbookNozzle, MacCormackGivesThePublishedThroatValuesAndPlacesTheShock)
{
    const Gas air = gasOf(1.4);
    // Non-conservation form, 31 points, Courant number 0.5, 1400 steps: the
    // throat values of the textbook's table, to its three decimals.
    UnsteadyFlow isentropic(air, textbookContour(), settingsOf(Scheme::MacCormack, 31, 0.5), 0.01,
                            Start::Textbook);
    ASSERT_TRUE(isentropic.run(1400)) << isentropic.failure();
    const CellValues throat = isentropic.cell(15);
    EXPECT_DOUBLE_EQ(throat.x, 1.5);
    EXPECT_NEAR(throat.rho, 0.639, 0.0005);
    EXPECT_NEAR(throat.T, 0.836, 0.0005);
    EXPECT_NEAR(throat.p, 0.534, 0.0005);
    EXPECT_NEAR(throat.M, 0.999, 0.0005);
    // ... and within 1 % of the exact sonic throat (0.634, 0.833, 0.528, 1).
    const SteadyFlow exact = steadyFlow(air, textbookContour(), 0.01);
    const SteadyPoint sonic = steadyPointAt(air, textbookContour(), exact, 1.5);
    EXPECT_NEAR(throat.p / sonic.p, 1, 0.013);
    EXPECT_NEAR(throat.M, sonic.M, 0.001);
    // The supersonic exit takes no back pressure: its pressure is the
    // flow's own (exact 0.0160), above pe/p0 = 0.01.
    EXPECT_NEAR(isentropic.cell(30).p / steadyPointAt(air, textbookContour(), exact, 3).p, 1, 0.02);
    // So does the conservation form's, with or without smoothing, its
    // throat as sonic as its smoothing lets it be. Without smoothing (as
    // the textbook runs it, from its own guesses for this form) it stays
    // there: from the other form's guesses a jump stood at the throat and
    // grew until the run broke down.
    for (const double cx : {0.2, 0.0}) {
        UnsteadySettings conservation = settingsOf(Scheme::MacCormackConservative, 31, 0.5);
        conservation.artificialViscosity = cx;
        UnsteadyFlow free(air, textbookContour(), conservation, 0.01, Start::Textbook);
        for (const int steps : {1400, 3600}) {
            ASSERT_TRUE(free.run(steps - free.steps())) << free.failure();
            for (const int i : {14, 15, 16}) {
                const double x = free.cell(i).x;
                EXPECT_NEAR(free.cell(i).M, steadyPointAt(air, textbookContour(), exact, x).M, 0.03)
                    << "Cx " << cx << ", step " << steps << ", x = " << x;
            }
            EXPECT_NEAR(free.cell(30).p / steadyPointAt(air, textbookContour(), exact, 3).p, 1,
                        0.02);
        }
    }
    // The history's last point is the flow now: the throat's and the exit's mass flow.
    EXPECT_EQ(isentropic.history().back().step, 1400);
    EXPECT_EQ(isentropic.history().back().mdotThroat, throat.mdot);
    EXPECT_EQ(isentropic.history().back().mdotExit, isentropic.cell(30).mdot);
    // The same scheme for another gas reaches its own sonic throat.
    const Gas k12 = gasOf(1.2);
    UnsteadyFlow other(k12, textbookContour(), settingsOf(Scheme::MacCormack, 31, 0.5), 0.01,
                       Start::Textbook);
    ASSERT_TRUE(other.run(1400)) << other.failure();
    EXPECT_NEAR(other.cell(15).M, 1, 0.002);
    EXPECT_NEAR(
        other.cell(15).p /
            steadyPointAt(k12, textbookContour(), steadyFlow(k12, textbookContour(), 0.01), 1.5).p,
        1, 0.013);

    // Conservation form with artificial viscosity (the textbook's Cx =
    // 0.2), 61 points, pe/p0 = 0.6784: the exact shock stands at x = 2.1,
    // the captured one within a cell of it.
    EXPECT_EQ(UnsteadySettings{}.artificialViscosity, 0.2);
    const SteadyFlow shocked = steadyFlow(air, textbookContour(), 0.6784);
    ASSERT_EQ(shocked.regime, SteadyRegime::ShockInside);
    EXPECT_NEAR(shocked.shockX, 2.1, 0.002);
    UnsteadyFlow flow(air, textbookContour(), settingsOf(Scheme::MacCormackConservative, 61, 0.5),
                      0.6784, Start::Textbook);
    ASSERT_TRUE(flow.run(1600)) << flow.failure();
    const auto shock = flow.shockPosition();
    ASSERT_TRUE(shock);
    EXPECT_NEAR(*shock, 2.1, flow.dx());
    EXPECT_NEAR(flow.cell(60).p, 0.6784, 1e-12); // the imposed back pressure
    // The smoothing moves no mass through the shock: away from it the mass
    // flow is the exact one to the grid's accuracy, on both sides.
    for (const CellValues& c : flow.cells()) {
        if (std::abs(c.x - *shock) > 3 * flow.dx()) {
            EXPECT_NEAR(c.mdot, shocked.mdot, 0.025) << "x = " << c.x;
        }
    }
}

// 3. Shock tubes against the exact Riemann solution: the L1 error of the
// density falls at the order discontinuities allow (1 for a shock, less
// for a contact smeared by the scheme).
struct TubeCase {
    const char* name;
    GasState left, right;
    double tEnd;
    Scheme scheme;
    double minOrder;   // observed from 100 to 400 cells
    double maxL1At400; // of the density
    double length = 1; // of the tube; the time in units of length / a0
};

void PrintTo(const TubeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ShockTube : public testing::TestWithParam<TubeCase> {};

// The tube's cells at the case's end time; mirrored, the right state starts
// on the left and the left on the right, each moving the other way.
std::vector<CellValues> tubeAtTheEnd(const TubeCase& c, int cells, bool mirrored = false)
{
    const auto flip = [](GasState s) { return GasState{s.rho, -s.u, s.p}; };
    const GasState left = mirrored ? flip(c.right) : c.left;
    const GasState right = mirrored ? flip(c.left) : c.right;
    std::vector<GasState> start(static_cast<std::size_t>(cells));
    for (int i = 0; i < cells; ++i) start[i] = (i + 0.5) / cells < 0.5 ? left : right;
    UnsteadyFlow flow(gasOf(1.4), tubeContour(c.length), settingsOf(c.scheme, cells, 0.8),
                      EndKind::Open, EndKind::Open, start);
    EXPECT_TRUE(flow.runUntilTime(c.tEnd, 100000)) << flow.failure();
    EXPECT_NEAR(flow.time(), c.tEnd, 1e-12);
    return flow.cells();
}

double densityL1(const TubeCase& c, int cells)
{
    double l1 = 0;
    for (const CellValues& cell : tubeAtTheEnd(c, cells)) {
        const GasState exact =
            riemannSolution(1.4, c.left, c.right, (cell.x - 0.5 * c.length) / (c.tEnd * c.length));
        l1 += std::abs(cell.rho - exact.rho) / cells;
    }
    return l1;
}

TEST_P(ShockTube, DensityErrorFallsAtTheExpectedOrder)
{
    const TubeCase& c = GetParam();
    const double e100 = densityL1(c, 100), e200 = densityL1(c, 200), e400 = densityL1(c, 400);
    const double order = std::log2(e100 / e400) / 2;
    EXPECT_GT(order, c.minOrder) << e100 << " " << e200 << " " << e400;
    EXPECT_LT(order, 1.3);
    EXPECT_LT(e200, e100);
    EXPECT_LT(e400, c.maxL1At400);
    // The tube the other way round is the same flow mirrored: no wave
    // speed, flux, limiter or end may favour a side.
    const std::vector<CellValues> ahead = tubeAtTheEnd(c, 100), back = tubeAtTheEnd(c, 100, true);
    for (std::size_t i = 0; i < ahead.size(); ++i) {
        const CellValues &a = ahead[i], &b = back[back.size() - 1 - i];
        EXPECT_NEAR(b.rho, a.rho, 1e-12 * a.rho) << "cell " << i;
        EXPECT_NEAR(b.u, -a.u, 1e-12) << "cell " << i;
        EXPECT_NEAR(b.p, a.p, 1e-12 * a.p) << "cell " << i;
    }
}

constexpr GasState kSodLeft{1, 0, 1}, kSodRight{0.125, 0, 0.1};
constexpr GasState kStrongLeft{1, 0, 1}, kStrongRight{0.125, 0, 0.01};

INSTANTIATE_TEST_SUITE_P(
    Riemann, ShockTube,
    testing::Values(TubeCase{"Sod_MusclHllc", kSodLeft, kSodRight, 0.2, Scheme::MusclHllc, 0.6,
                             0.002},
                    TubeCase{"Sod_Upwind", kSodLeft, kSodRight, 0.2, Scheme::Upwind, 0.5, 0.008},
                    TubeCase{"Sod_MusclHllc_TubeOfLength2", kSodLeft, kSodRight, 0.1,
                             Scheme::MusclHllc, 0.6, 0.002, 2},
                    TubeCase{"PressureRatio100_MusclHllc", kStrongLeft, kStrongRight, 0.15,
                             Scheme::MusclHllc, 0.6, 0.004}),
    [](const testing::TestParamInfo<TubeCase>& info) { return std::string(info.param.name); });

// 4. Both ends closed: nothing but pressure crosses a wall, so the mass and
// the energy in the nozzle stay what they were to round-off.
class ClosedNozzle : public testing::TestWithParam<Scheme> {};

TEST_P(ClosedNozzle, KeepsMassAndEnergyOverAHundredThousandSteps)
{
    const Gas air = gasOf(1.4);
    const int cells = 40;
    const Contour contour = nozzleContour(air, 2);
    std::vector<GasState> start(static_cast<std::size_t>(cells));
    for (int i = 0; i < cells; ++i)
        start[i] = i < cells / 2 ? GasState{1, 0, 1 / 1.4} : GasState{0.2, 0, 0.1 / 1.4};
    UnsteadyFlow flow(air, contour, settingsOf(GetParam(), cells, 0.8), EndKind::Wall,
                      EndKind::Wall, start);
    const double mass = flow.totalMass(), energy = flow.totalEnergy();
    ASSERT_TRUE(flow.run(100000)) << flow.failure();
    EXPECT_NEAR(flow.totalMass() / mass, 1, 1e-12);
    EXPECT_NEAR(flow.totalEnergy() / energy, 1, 1e-12);
    // The gas moved: the walls were felt.
    EXPECT_GT(flow.time(), 100);
}

INSTANTIATE_TEST_SUITE_P(FiniteVolumes, ClosedNozzle,
                         testing::Values(Scheme::MusclHllc, Scheme::Upwind),
                         [](const testing::TestParamInfo<Scheme>& info) {
                             return test::caseName(schemeName(info.param));
                         });

// 5. Random schemes, Courant numbers, cells, gases, designs, starts and
// back-pressure jumps: never a non-positive density or pressure, never a
// number that is not finite; a scheme that cannot go on says so.
TEST(UnsteadyRobustness, RandomInputsNeverGiveNegativeOrNonFiniteValues)
{
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int run = 0; run < 40; ++run) {
        UnsteadySettings s;
        s.scheme = static_cast<Scheme>(random() % 4);
        s.cells = kMinCells + static_cast<int>(random() % 100);
        s.courant = 0.05 + 0.95 * unit(random);
        ASSERT_FALSE(validateUnsteadySettings(s));
        const double k = kMinK + (kMaxK - kMinK) * unit(random);
        const double me = run % 8 == 7 ? 20 * unit(random) + 1 : 1 + 4 * unit(random);
        const Gas gas = gasOf(k);
        const Contour contour = run % 5 == 4 ? textbookContour() : nozzleContour(gas, me);
        const double pb = std::max(unit(random), 1e-3);
        const auto start = static_cast<Start>(random() % 4);
        UnsteadyFlow flow(gas, contour, s, pb, start, std::max(unit(random), 1e-3));
        flow.run(150);
        flow.setBackPressure(std::max(unit(random), 1e-3));
        flow.run(150);
        const std::string where =
            "run " + std::to_string(run) + " " + std::string(schemeName(s.scheme)) + " " +
            std::string(startName(start)) + " k " + formatGeneral(k) + " Me_Sup " +
            formatGeneral(me) + " C " + formatGeneral(s.courant) + " cells " +
            std::to_string(s.cells) + " pb " + formatGeneral(pb) + " " + contour.name();
        for (const CellValues& c : flow.cells()) {
            ASSERT_GT(c.rho, 0) << where;
            ASSERT_GT(c.p, 0) << where;
            ASSERT_TRUE(std::isfinite(c.u) && std::isfinite(c.M) && std::isfinite(c.mdot) &&
                        std::isfinite(c.T) && std::isfinite(c.rho) && std::isfinite(c.p))
                << where;
        }
        EXPECT_TRUE(std::isfinite(flow.residual()) && std::isfinite(flow.time())) << where;
        if (flow.brokeDown()) {
            EXPECT_FALSE(flow.failure().empty());
            EXPECT_EQ(flow.events().back().kind, FlowEventKind::BrokeDown);
        }
        // The finite-volume schemes never give up.
        if (s.scheme == Scheme::MusclHllc || s.scheme == Scheme::Upwind) {
            EXPECT_FALSE(flow.brokeDown()) << where << ": " << flow.failure();
        }
    }
}

// Where the starts and the shock search put things: the diaphragm at the
// throat; a jump of the velocity on the face between its two cells; time
// and residual in units of the length.
TEST(UnsteadyStart, DiaphragmAtTheThroatJumpOnItsFaceTimeInUnitsOfTheLength)
{
    const Gas air = gasOf(1.4);
    const Contour contour = nozzleContour(air, 2);
    const UnsteadyFlow diaphragm(air, contour, settingsOf(Scheme::MusclHllc, 40, 0.8), 0.3,
                                 Start::Diaphragm);
    for (const CellValues& c : diaphragm.cells())
        EXPECT_NEAR(c.p, c.x < contour.throatX ? 1 : 0.3, 1e-14) << "x = " << c.x;
    std::vector<GasState> start(100, GasState{1, 0, 1});
    for (int i = 0; i < 37; ++i) start[i].u = 1;
    const UnsteadyFlow jump(air, tubeContour(), settingsOf(Scheme::MusclHllc, 100, 0.8),
                            EndKind::Open, EndKind::Open, start);
    ASSERT_TRUE(jump.shockPosition());
    EXPECT_NEAR(*jump.shockPosition(), 0.37, 1e-12);
    // A tube twice as long, its cells twice as wide: the same flow at the
    // same time and residual, both in units of its length.
    const UnsteadySettings settings = settingsOf(Scheme::MusclHllc, 100, 0.8);
    UnsteadyFlow shortTube(air, tubeContour(1), settings, EndKind::Open, EndKind::Open, start);
    UnsteadyFlow longTube(air, tubeContour(2), settings, EndKind::Open, EndKind::Open, start);
    ASSERT_TRUE(shortTube.run(20) && longTube.run(20));
    EXPECT_NEAR(longTube.time() / shortTube.time(), 1, 1e-12);
    EXPECT_NEAR(longTube.residual() / shortTube.residual(), 1, 1e-9);
}

// What the settings and a contour file refuse, in words.
struct ContourCase {
    const char* name;
    std::string csv;
    std::string refusal; // the start of the message; empty: accepted
};

class ContourFile : public testing::TestWithParam<ContourCase> {};

TEST_P(ContourFile, IsCheckedBeforeUse)
{
    const auto read = contourFromCsv(GetParam().csv);
    if (GetParam().refusal.empty()) {
        ASSERT_TRUE(std::holds_alternative<Contour>(read)) << std::get<std::string>(read);
        const Contour& c = std::get<Contour>(read);
        EXPECT_EQ(c.area(c.throatX), 1);
        EXPECT_EQ(c.xBegin, 0); // no point lost
        EXPECT_EQ(c.xEnd, 3);
        // The textbook's contour as a table: the same exact shock as the formula.
        const SteadyFlow table = steadyFlow(gasOf(1.4), c, 0.6784);
        EXPECT_NEAR(table.shockX, steadyFlow(gasOf(1.4), textbookContour(), 0.6784).shockX, 2e-3);
    } else {
        ASSERT_TRUE(std::holds_alternative<std::string>(read));
        EXPECT_EQ(std::get<std::string>(read).rfind(GetParam().refusal, 0), 0u)
            << std::get<std::string>(read);
    }
}

// The textbook's contour as a spreadsheet may write it: a first line (a
// header, or a byte-order mark before the first point) and line ends.
std::string textbookCsv(const std::string& first = "x,A/At\n", const std::string& end = "\n")
{
    std::string csv = first;
    for (int i = 0; i <= 300; ++i) {
        const double x = i / 100.0;
        csv += formatGeneral(x) + "," + formatGeneral(2 * (1 + 2.2 * (x - 1.5) * (x - 1.5))) + end;
    }
    return csv;
}

INSTANTIATE_TEST_SUITE_P(
    Csv, ContourFile,
    testing::Values(
        ContourCase{"TextbookTableScaledToItsThroat", textbookCsv(), ""},
        ContourCase{"ByteOrderMarkAndCrLf", textbookCsv("\xEF\xBB\xBF", "\r\n"), ""},
        ContourCase{"LoneCarriageReturns", textbookCsv("x,A/At\r", "\r"), ""},
        ContourCase{"XNotIncreasing", "0,2\n1,1\n1,2\n", "The contour's x must increase"},
        ContourCase{"AreaNotPositive", "0,2\n1,0\n2,2\n", "The contour's area must be positive"},
        ContourCase{"TwoThroats", "0,2\n1,1\n2,2\n3,1.5\n4,2\n",
                    "The contour must have one throat"},
        ContourCase{"TwoThroatsTheSecondNarrower", "0,2\n1,1.5\n2,2\n3,1\n4,2\n",
                    "The contour must have one throat"},
        ContourCase{"NotNumbers", "x,A\n0,2\n1,one\n", "The contour's line 3"},
        ContourCase{"TooFewPoints", "0,2\n1,1\n", "The contour needs at least 3"},
        ContourCase{"ThroatAtTheInlet", "0,1\n1,2\n2,3\n", "The contour must narrow to its"},
        ContourCase{"ConstantArea", "0,1\n1,1\n2,1\n", "The contour must narrow to its"}),
    [](const testing::TestParamInfo<ContourCase>& info) { return std::string(info.param.name); });

TEST(UnsteadySettingsCheck, CourantAboveTheStableLimitAndCellsOutOfRangeAreRefusedInWords)
{
    for (const Scheme s :
         {Scheme::MusclHllc, Scheme::Upwind, Scheme::MacCormack, Scheme::MacCormackConservative}) {
        EXPECT_FALSE(validateUnsteadySettings(settingsOf(s, 400, courantLimit(s))));
        const auto refusal = validateUnsteadySettings(settingsOf(s, 400, 1.01));
        ASSERT_TRUE(refusal);
        EXPECT_NE(refusal->find(schemeName(s)), std::string::npos) << *refusal;
        EXPECT_TRUE(validateUnsteadySettings(settingsOf(s, 400, 0)));
        EXPECT_TRUE(validateUnsteadySettings(settingsOf(s, 400, std::nan(""))));
    }
    EXPECT_EQ(*validateUnsteadySettings(settingsOf(Scheme::MusclHllc, 19, 0.8)),
              "The number of cells must be a whole number from 20 to 5000 (got 19)");
    EXPECT_TRUE(validateUnsteadySettings(settingsOf(Scheme::MusclHllc, 5001, 0.8)));
    EXPECT_FALSE(validateUnsteadySettings(settingsOf(Scheme::MusclHllc, 5000, 0.8)));
}

} // namespace
} // namespace cdnozzle
