// The explanation names the right limits and the flow's own numbers in
// every regime. Numbers: the start-up nozzle (Me_Sup 2: limits 0.9088,
// 0.5751, 0.1278) worked by hand from the isentropic, normal- and
// oblique-shock relations; Mach angles asin(1/M).
#include "explanation.h"

#include "core/test_support.h"
#include "number_text.h"

namespace cdnozzle {

struct ExplainCase {
    std::string pepo; // "sub", "NS", "OS": exactly that limit
    Regime regime;
    std::vector<std::string> says;
};

class Explanation : public testing::TestWithParam<ExplainCase> {};

TEST_P(Explanation, NamesTheLimitsAndTheNumbers)
{
    const ExplainCase& c = GetParam();
    const FlowState limits = test::calculated("2", "1").state();
    std::string pepo = c.pepo;
    if (pepo == "sub") pepo = formatRoundTrip(limits.PePo_sub);
    if (pepo == "NS") pepo = formatRoundTrip(limits.PePo_NS);
    if (pepo == "OS") pepo = formatRoundTrip(limits.PePo_OS);
    const NozzleModel m = test::calculated("2", pepo);
    ASSERT_EQ(m.result().regime, c.regime);
    const std::string text = explainFlow(m.state(), m.result());
    for (const std::string& part : c.says) EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    // Two to four sentences, then a line of the nozzle's figures; no NaN.
    const std::string prose = text.substr(0, text.find('\n'));
    int sentences = 0;
    for (std::size_t i = 0; i + 1 < prose.size(); ++i) sentences += prose[i] == '.' && prose[i + 1] == ' ';
    EXPECT_GE(sentences + 1, 2) << text;
    EXPECT_LE(sentences + 1, 4) << text;
    EXPECT_EQ(text.find("nan"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Regimes, Explanation,
    testing::Values(
        ExplainCase{"1", Regime::NoFlow, {"Pe/Po = 1:", "subsonic limit 0.9088", "M = 0"}},
        // A*/A_t of the subsonic flow: 1.6875 / AAfM(0.11991) = 0.3467.
        ExplainCase{"0.99",
                    Regime::SubsonicThroughout,
                    {"between 1 and the subsonic limit 0.9088", "M = 0.1199 at the exit",
                     "chokes", "\nMass flow 0.3467 of the choked mass flow"}},
        ExplainCase{"sub",
                    Regime::ChokedSubsonic,
                    {"exactly the subsonic limit", "Mach 1 (p/p0 = 0.5283)", "M = 0.3722",
                     "normal shock appears"}},
        // Shock at station 66 (M1 = x = 1.575), M2 0.6761; p02/p01 0.9044.
        ExplainCase{"0.8",
                    Regime::NormalShockInside,
                    {"between the subsonic limit 0.9088 and the normal-shock limit 0.5751",
                     "at station 66 (x = 1.575; exact x = 1.5764)", "p02/p01 = 0.9044",
                     "falls by 9.6 %", "moves downstream"}},
        // M2 behind a Mach 2 shock 0.5774, p02/p01 0.7209.
        ExplainCase{"NS",
                    Regime::NormalShockAtExit,
                    {"normal-shock limit 0.5751", "to 0.5774", "p02/p01 = 0.7209",
                     "oblique shocks"}},
        // beta 69.213, theta 22.358, M2 0.8246.
        ExplainCase{"0.5",
                    Regime::ObliqueExitShocks,
                    {"between the normal-shock limit 0.5751 and the design pressure ratio 0.1278",
                     "over-expanded", "at 69.2° to the flow", "turn it by 22.4°", "M = 0.8246"}},
        // The ideal thrust coefficient of a Mach 2 nozzle, 1.20775.
        ExplainCase{"OS",
                    Regime::ExitExpansion,
                    {"is the design pressure ratio", "Mach angle 30.0°", "C_F = 1.2078",
                     "pressure 0)", "pe/pb = 1."}},
        // Me 2.15719: Mach angle 27.6 degrees.
        ExplainCase{"0.1",
                    Regime::ExitExpansion,
                    {"below the design pressure ratio 0.1278", "under-expanded",
                     "30.0° (M = 2)", "27.6° (M = 2.1572)"}}));

TEST(Explanation, NothingBeforeACalculation)
{
    EXPECT_EQ(explainFlow(FlowState{}, CalcResult{}), "");
}

} // namespace cdnozzle
