// SPDX-License-Identifier: MIT
// The explanation names the right limits and the flow's own numbers in
// every regime. Numbers: the start-up nozzle (Me_Sup 2: limits 0.9088,
// 0.5751, 0.1278) worked by hand from the isentropic, normal- and
// oblique-shock relations; Mach angles asin(1/M).
#include "results/explanation.h"

#include "core/test_support.h"
#include "results/regime_summary.h"
#include "test_names.h"
#include "text/number_text.h"

// GCC 12 with the sanitizers at -O1 warns of a maybe-uninitialized member
// inside <regex>'s own std::function: a false positive in the library.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>

namespace cdnozzle {

struct ExplainCase {
    std::string pepo; // "sub", "NS", "OS": exactly that limit
    Regime regime;
    std::vector<std::string> says;
    std::vector<std::string> never = {};
    std::string me = "2";
    bool backAboveReservoir = false; // an engine's chamber below the air outside
};

namespace {

// The nozzle calculated at Pe/Po, where "sub", "NS" and "OS" stand for
// exactly that limit of the nozzle.
NozzleModel calculatedAt(const std::string& me, std::string pepo)
{
    const FlowState limits = test::calculated(me, "1").state();
    if (pepo == "sub") pepo = formatRoundTrip(limits.PePo_sub);
    if (pepo == "NS") pepo = formatRoundTrip(limits.PePo_NS);
    if (pepo == "OS") pepo = formatRoundTrip(limits.PePo_OS);
    return test::calculated(me, pepo);
}

} // namespace

class Explanation : public testing::TestWithParam<ExplainCase> {};

TEST_P(Explanation, NamesTheLimitsAndTheNumbers)
{
    const ExplainCase& c = GetParam();
    const NozzleModel m = calculatedAt(c.me, c.pepo);
    ASSERT_EQ(m.result().regime, c.regime);
    const std::string text = explainFlow(m.state(), m.result(), c.backAboveReservoir);
    for (const std::string& part : c.says)
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    for (const std::string& part : c.never)
        EXPECT_EQ(text.find(part), std::string::npos) << part << "\n" << text;
    // Two to four sentences, then a line of the nozzle's figures; no NaN.
    const std::string prose = text.substr(0, text.find('\n'));
    int sentences = 0;
    for (std::size_t i = 0; i + 1 < prose.size(); ++i)
        sentences += prose[i] == '.' && prose[i + 1] == ' ';
    EXPECT_GE(sentences + 1, 2) << text;
    EXPECT_LE(sentences + 1, 4) << text;
    EXPECT_EQ(text.find("nan"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Regimes, Explanation,
    testing::Values(
        ExplainCase{
            "1",
            Regime::NoFlow,
            {"Pe/Po = 1:", "equals the reservoir pressure", "subsonic limit 0.9088", "M = 0"},
            {"above the reservoir"}},
        ExplainCase{"1",
                    Regime::NoFlow,
                    {"Pe/Po = 1: the back pressure is above the reservoir pressure", "M = 0"},
                    {"equals"},
                    "3",
                    true},
        // A*/A_t of the subsonic flow: 1.6875 / AAfM(0.11991) = 0.3467.
        ExplainCase{"0.99",
                    Regime::SubsonicThroughout,
                    {"between 1 and the subsonic limit 0.9088", "M = 0.1199 at the exit", "chokes",
                     "\nMass flow ṁ/ṁ* = 0.3467 (ṁ* is the choked mass flow"}},
        // Next to the subsonic limit the throat is nearly sonic: M 0.91634,
        // p/p0 0.58081 there (0.58135 at the next station, x = 1.0125).
        ExplainCase{"0.91",
                    Regime::SubsonicThroughout,
                    {"between 1 and the subsonic limit 0.9088",
                     "at the throat, where the pressure is lowest (p/p0 = 0.5808)"}},
        ExplainCase{"sub",
                    Regime::ChokedSubsonic,
                    {"exactly the subsonic limit", "Mach 1 (p/p0 = 0.5283)", "M = 0.3722",
                     "normal shock appears"}},
        // Drawn at station 66 (M1 = x = 1.575), M2 0.6761, p02/p01 0.9044;
        // the continuous solution (a 40-digit model): x = M1 = 1.57637
        // (A/At 1.23155), M2 0.67568, p02/p01 0.90386, exit Mach 0.42126.
        ExplainCase{"0.8",
                    Regime::NormalShockInside,
                    {"between the subsonic limit 0.9088 and the normal-shock limit 0.5751",
                     "drawn at station 66 of the 101 points", "(x = 1.575)", "p02/p01 = 0.9044",
                     "falls by 9.6 %", "moves downstream",
                     "\nCalculated exactly, between those points, the shock stands at x = 1.5764",
                     "to 0.6757, p02/p01 = 0.9039", "at M = 0.4213"}},
        // M2 behind a Mach 2 shock 0.5774, p2/p0 = 0.1278 * 4.5 = 0.5751,
        // p02/p01 0.7209; at the limit the exact shock stands in the exit.
        ExplainCase{"NS",
                    Regime::NormalShockAtExit,
                    {"normal-shock limit 0.5751", "to 0.5774", "from 0.1278 to 0.5751",
                     "p02/p01 = 0.7209", "oblique shocks",
                     "\nWithout the station grid the shock stands just inside the exit, at x = 2:",
                     "at M = 0.5774 and the back pressure"}},
        // Design Mach 1.05 in the band, drawn in the exit plane: M1 1.05
        // (not the grid's 1.0499) gives p02/p01 0.999853, a loss of
        // 0.0147 %, and p2 = 0.4979 * 1.1196 = 0.5574. The exact shock
        // (40 digits): its exit pressure is 0.55746 at M1 = x = 1.049274,
        // M2 0.953764, exit Mach 0.953050.
        ExplainCase{"0.55746",
                    Regime::NormalShockAtExit,
                    {"falls by 0.0147 % (p02/p01 = 0.9999)", "from 0.4979 to 0.5574",
                     "stands just inside the exit, at x = 1.0493: M drops from 1.0493 to 0.9538",
                     "at M = 0.9531 and the back pressure"},
                    {"falls by -", "p02/p01 = 1.0001"},
                    "1.05"},
        // Design Mach 1.01: the band covers every shock position, from the
        // exit (0.53438) to the throat (0.53443).
        ExplainCase{"0.53442",
                    Regime::NormalShockAtExit,
                    {"inside the divergent part, at x = 1.005:"},
                    {"just inside"},
                    "1.01"},
        // beta 69.213, theta 22.358, M2 0.8246; above Pe/Po 0.4659 (the
        // largest attached deflection, 22.97 degrees) the shock is strong.
        ExplainCase{"0.5",
                    Regime::ObliqueExitShocks,
                    {"between the normal-shock limit 0.5751 and the design pressure ratio 0.1278",
                     "over-expanded", "at 69.2° to the flow", "towards the axis by 22.4°",
                     "M = 0.8246", "No oblique shock attached", "by 23.0° at most",
                     "Pe/Po = 0.4659", "a strong one", "Mach disk"}},
        // beta 47.22, theta 16.33: a weak shock.
        ExplainCase{"0.3",
                    Regime::ObliqueExitShocks,
                    {"at 47.2° to the flow", "towards the axis by 16.3°"},
                    {"Mach disk", "strong"}},
        // Design Mach 20: the normal-shock limit 9.7534e-5 and the exit
        // Mach number 7.5267e-5 keep four significant figures.
        ExplainCase{
            "0.5",
            Regime::NormalShockInside,
            {"normal-shock limit 9.753 × 10⁻⁵", "until at 9.753 × 10⁻⁵", "at M = 7.527 × 10⁻⁵"},
            {"limit 0.0", "limit 0 ", "at 0 "},
            "20"},
        // A convergent nozzle: the exit is the throat; below the choking
        // ratio 0.5283 the jet leaves at Mach 1 and expands to 1.4328,
        // turning by nu(1.4328) = 9.9 degrees.
        ExplainCase{"0.9",
                    Regime::SubsonicThroughout,
                    {"the exit is the throat", "M = 0.3909"},
                    {"divergent"},
                    "1"},
        ExplainCase{"sub",
                    Regime::ChokedSubsonic,
                    {"choking pressure ratio", "the exit is the throat", "Mach 1 (p/p0 = 0.5283)",
                     "leaves at Mach 1, under-expanded"},
                    {"divergent", "normal shock"},
                    "1"},
        ExplainCase{"0.3",
                    Regime::ExitExpansion,
                    {"the exit is the throat", "under-expanded at Mach 1", "M = 1.4328",
                     "away from the axis by 9.9°"},
                    {"in the divergent part", "design Mach number"},
                    "1"},
        // Within the design nearness of the choking ratio: a convergent
        // nozzle has no design condition, its jet expands to Mach 1.0003.
        ExplainCase{"0.5281",
                    Regime::ExitExpansion,
                    {"under-expanded at Mach 1", "M = 1.0003"},
                    {"perfectly", "design pressure ratio"},
                    "1"},
        // The ideal thrust coefficient of a Mach 2 nozzle, 1.20775.
        ExplainCase{"OS",
                    Regime::ExitExpansion,
                    {"is the design pressure ratio", "exactly the back pressure",
                     "Mach angle 30.0°", "C_F = 1.2078", "pressure 0)", "p_exit/p_b = 1."}},
        // Within 0.0005 above the design pressure ratio: the design
        // condition, not an over-expanded jet.
        ExplainCase{"0.1282",
                    Regime::ObliqueExitShocks,
                    {"is at the design pressure ratio 0.1278 (within 0.0005)",
                     "very nearly the back pressure", "perfectly expanded"},
                    {"over-expanded", "exactly"}},
        // Me 2.15719: Mach angle 27.6 degrees.
        // nu(2) 26.38, nu(2.1572) 30.61 degrees: the jet turns by 4.2.
        ExplainCase{"0.1",
                    Regime::ExitExpansion,
                    {"below the design pressure ratio 0.1278", "under-expanded", "30.0° (M = 2)",
                     "27.6° (M = 2.1572)", "away from the axis by 4.2°", "from 26.4° to 30.6°"}}),
    [](const testing::TestParamInfo<ExplainCase>& info) {
        return "Me_Sup_" + test::caseName(info.param.me) + "_PePo_" +
               test::caseName(info.param.pepo);
    });

struct StatusCase {
    std::string me;
    std::string pepo; // "sub", "NS", "OS": exactly that limit
    std::string status;
};

class StatusLine : public testing::TestWithParam<StatusCase> {};

// The status line of every regime, with the numbers of the explanation's
// cases above: exit Mach numbers 0.1199 (subsonic) and 0.3722 (choked),
// the shock at station 66 (exact x 1.5764), shock angles 69.2° (strong)
// and 47.2° (weak), jet Mach numbers 2.1572 and, from a convergent nozzle,
// 1.0003 and 1.4328.
TEST_P(StatusLine, NamesTheRegimeAndItsNumber)
{
    const StatusCase& c = GetParam();
    const NozzleModel m = calculatedAt(c.me, c.pepo);
    EXPECT_EQ(regimeSummary(m.state(), m.result()), c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Regimes, StatusLine,
    testing::Values(
        StatusCase{"2", "1", "No flow: the back pressure equals the reservoir pressure"},
        StatusCase{"2", "0.99", "Subsonic flow throughout the nozzle (exit Mach 0.1199)"},
        StatusCase{"2", "sub", "Choked throat, subsonic flow behind it (exit Mach 0.3722)"},
        StatusCase{"2", "0.8",
                   "Normal shock inside the nozzle at x = 1.575 (station 66; exact x = 1.5764)"},
        StatusCase{"2", "NS", "Normal shock in the exit plane"},
        StatusCase{"2", "0.5", "Strong shock at the exit: a Mach disk in the jet (β = 69.2°)"},
        StatusCase{"2", "0.3", "Oblique shocks at the exit (β = 47.2°): over-expanded jet"},
        StatusCase{"2", "0.1282",
                   "Design condition: perfectly expanded, the jet leaves at Mach 2 (oblique "
                   "waves of β = 30.0°)"},
        StatusCase{"2", "OS", "Design condition: perfectly expanded, the jet leaves at Mach 2"},
        StatusCase{"2", "0.1", "Expansion waves at the exit (jet Mach 2.1572): under-expanded jet"},
        StatusCase{"1", "0.5281",
                   "Expansion waves at the exit (jet Mach 1.0003): under-expanded jet"},
        StatusCase{"1", "0.3",
                   "Expansion waves at the exit (jet Mach 1.4328): under-expanded jet"}),
    [](const testing::TestParamInfo<StatusCase>& info) {
        return "Me_Sup_" + test::caseName(info.param.me) + "_PePo_" +
               test::caseName(info.param.pepo);
    });

// Over many states, the limits typed as displayed and next to them included:
// the status line, the banner's words (regimeHeadline) and the explanation
// name the same regime, and every number in them follows the one rule.
TEST(Explanation, StatusBannerAndTextAgreeInWordsAndNumbers)
{
    const std::regex exponent("E[-+]?[0-9]");
    const std::regex number("[0-9]+(\\.[0-9]+)?");
    const std::regex falseBoundary("(^|[^0-9.])(-?0\\.0°|100\\.0 %|0\\.0 %|-0)([^0-9.]|$)");
    int states = 0;
    for (const char* me : {"1", "1.02", "1.05", "2", "3", "20"}) {
        const FlowState limits = test::calculated(me, "1").state();
        std::vector<std::string> pepos = {"1", "0.99", "0.8", "0.5", "0.3", "0.1", "0.001", "1e-9"};
        for (double limit : {limits.PePo_sub, limits.PePo_NS, limits.PePo_OS}) {
            pepos.push_back(formatRatio(limit)); // typed as displayed
            for (double nudge : {-2e-3, -6e-4, -1e-9, 0.0, 1e-9, 6e-4, 2e-3})
                if (limit + nudge > 0 && limit + nudge <= 1)
                    pepos.push_back(formatRoundTrip(limit + nudge));
        }
        for (const std::string& pepo : pepos) {
            if (pepo.find("×") != std::string::npos) continue; // not a typed number
            const NozzleModel m = test::calculated(me, pepo);
            const FlowState& s = m.state();
            const std::string status = regimeSummary(s, m.result());
            const std::string headline = regimeHeadline(s, m.result());
            const std::string text = explainFlow(s, m.result());
            const std::string where = std::string(me) + " " + pepo + "\n" + status + "\n" + text;
            ++states;
            // One regime in three places.
            const std::string prose = text.substr(0, text.find('\n'));
            if (headline.starts_with("Design condition")) {
                EXPECT_TRUE(status.starts_with("Design condition")) << where;
                EXPECT_NE(prose.find("design pressure ratio"), std::string::npos) << where;
                EXPECT_NE(prose.find("perfectly expanded"), std::string::npos) << where;
                EXPECT_EQ(prose.find("is under-expanded"), std::string::npos) << where;
            } else if (headline.starts_with("Under-expanded")) {
                EXPECT_NE(status.find("under-expanded"), std::string::npos) << where;
                EXPECT_NE(prose.find("under-expanded"), std::string::npos) << where;
                EXPECT_EQ(prose.find("perfectly"), std::string::npos) << where;
            } else if (headline.starts_with("Over-expanded")) {
                EXPECT_NE(status.find("over-expanded"), std::string::npos) << where;
                EXPECT_NE(prose.find("over-expanded"), std::string::npos) << where;
                EXPECT_EQ(prose.find("Mach disk"), std::string::npos) << where;
            } else if (headline.starts_with("Strong shock")) {
                EXPECT_TRUE(status.starts_with("Strong shock")) << where;
                EXPECT_NE(prose.find("Mach disk"), std::string::npos) << where;
                EXPECT_EQ(prose.find("No weak"), std::string::npos) << where;
            } else {
                EXPECT_TRUE(status.starts_with(headline.substr(0, 12))) << where;
            }
            // Pe/Po never "lies" beside a limit that prints like it.
            const std::string first = prose.substr(0, prose.find(". "));
            for (double limit : {s.PePo_sub, s.PePo_NS, s.PePo_OS}) {
                if (formatRatio(s.PePo) == formatRatio(limit) && s.PePo != limit) {
                    for (const char* lies : {"lies below", "lies above", "lies between"})
                        EXPECT_EQ(first.find(lies), std::string::npos) << where;
                }
            }
            for (const std::string& shown : {status, text}) {
                EXPECT_FALSE(std::regex_search(shown, exponent)) << where;
                EXPECT_FALSE(std::regex_search(shown, falseBoundary)) << where;
                for (std::sregex_iterator i(shown.begin(), shown.end(), number), end; i != end;
                     ++i) {
                    std::string digits = i->str();
                    std::erase(digits, '.');
                    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
                    EXPECT_LE(digits.size(), 10u) << i->str() << "\n" << where;
                }
            }
        }
    }
    EXPECT_GT(states, 150);
}

TEST(Explanation, NothingBeforeACalculation)
{
    EXPECT_EQ(explainFlow(FlowState{}, CalcResult{}), "");
}

} // namespace cdnozzle
