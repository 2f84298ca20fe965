// SPDX-License-Identifier: MIT
#include "text/validation.h"

#include "core/test_support.h"
#include "test_names.h"

namespace cdnozzle {

struct RefusalCase {
    InputTexts texts;
    const char* message; // empty: accepted
};

class Validation : public testing::TestWithParam<RefusalCase> {};

TEST_P(Validation, AcceptsOrNamesTheBoxAndItsRange)
{
    const auto refusal = validateInputs(GetParam().texts);
    const std::string expected = GetParam().message;
    if (expected.empty()) {
        EXPECT_FALSE(refusal) << *refusal;
    } else {
        ASSERT_TRUE(refusal);
        EXPECT_EQ(*refusal, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Validation,
    testing::Values(
        RefusalCase{{"2", "3", "1"}, ""}, RefusalCase{{"1", "-5", "0.001"}, ""},
        RefusalCase{{"100", "1000", "1E-300"},
                    ""}, // A design Mach number below 1 folds the contour back on itself.
        RefusalCase{{"0.999", "3", "0.9"},
                    "Me_Sup = must be a number from 1 to 100 (got \"0.999\")"},
        RefusalCase{{"0.5", "3", "0.4"}, "Me_Sup = must be a number from 1 to 100 (got \"0.5\")"},
        RefusalCase{{"2", "-0.2", "0.5"}, ""},
        RefusalCase{{"2", "3", "1.2"},
                    "Pe/Po = must be a number above 0 and at most 1 (got \"1.2\")"},
        RefusalCase{{"2", "3", ""}, "Pe/Po = must be a number above 0 and at most 1 (got \"\")"},
        RefusalCase{{"2", "3", "-"}, "Pe/Po = must be a number above 0 and at most 1 (got \"-\")"},
        RefusalCase{{"2", "3", "1e-310"},
                    "Pe/Po = must be a number above 0 and at most 1 (got \"1e-310\")"},
        RefusalCase{{"0", "3", "1"}, "Me_Sup = must be a number from 1 to 100 (got \"0\")"},
        RefusalCase{{"-2", "3", "1"}, "Me_Sup = must be a number from 1 to 100 (got \"-2\")"},
        RefusalCase{{"1e400", "3", "1"}, "Me_Sup = must be a number from 1 to 100 (got \"1e400\")"},
        RefusalCase{
            {"2", "-0.1", "1"},
            "Amax/At = must be a number from -1000 to 1000, other than -0.1 (got \"-0.1\")"},
        RefusalCase{{"2", "1e9", "1"},
                    "Amax/At = must be a number from -1000 to 1000, other than -0.1 (got \"1e9\")"},
        // The first box at fault is named; control characters never break the line.
        RefusalCase{{"x", "-0.1", "7"}, "Me_Sup = must be a number from 1 to 100 (got \"x\")"},
        RefusalCase{{"2", "3", "2\n\n"},
                    "Pe/Po = must be a number above 0 and at most 1 (got \"2  \")"},
        // A control character (a link's "%01") is refused, where the
        // leading-number rule alone would read the number before it; the
        // tab and line feed it skips stay accepted.
        RefusalCase{{"2\x01<abc>", "3", "0.8"},
                    "Me_Sup = must be a number from 1 to 100, with no control character (got "
                    "\"2 <abc>\")"},
        RefusalCase{{"2", "3\r", "0.8"},
                    "Amax/At = must be a number from -1000 to 1000, other than -0.1, with no "
                    "control character (got \"3 \")"},
        RefusalCase{{"2", "3", "0.8\x7f"},
                    "Pe/Po = must be a number above 0 and at most 1, with "
                    "no control character (got \"0.8 \")"},
        RefusalCase{{"2\t", "3", "0.\n8"}, ""},
        RefusalCase{{"2", "3", "99999999999999999999999999"},
                    "Pe/Po = must be a number above 0 and at most 1 (got "
                    "\"999999999999999999999999...\")"}),
    [](const testing::TestParamInfo<RefusalCase>& info) {
        const InputTexts& t = info.param.texts;
        return std::string(*info.param.message ? "refuses_" : "accepts_") +
               test::caseName(t.me_sup) + "_and_" + test::caseName(t.amax) + "_and_" +
               test::caseName(t.pe_po);
    });

TEST(Validation, ARefusedInputChangesNothing)
{
    NozzleModel model = test::calculated("2", "0.8");
    const FlowState before = model.state();
    const CalcResult resultBefore = model.result();
    const PlotScene geoBefore = model.geometryScene();
    for (const InputTexts& bad : {InputTexts{"3", "3", "1.5"}, InputTexts{"0", "3", "0.5"},
                                  InputTexts{"2.5", "-0.1", "0.5"}, InputTexts{"", "", ""}}) {
        EXPECT_TRUE(model.calculate(bad));
        EXPECT_EQ(model.state(), before);
        EXPECT_EQ(model.result(), resultBefore);
        EXPECT_EQ(model.geometryScene(), geoBefore);
    }
}

} // namespace cdnozzle
